// DrawPage's read-and-compute path: position the page, read and re-reference its frames,
// and run every line through its filter chain.

#include "demo_recording.h"
#include "recording_writer.h"
#include "temp_dir.h"
#include "trace_model.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using viewer::TraceModel;
using viewer::testing::RecordingDescription;

// Written once per run, removed at exit.
const viewer::testing::TempDir& benchDir() {
    static const viewer::testing::TempDir dir;
    return dir;
}

std::string written(const std::string& name, const RecordingDescription& d) {
    const std::string path = benchDir().file(name);
    viewer::testing::writeRecording(path, d);
    return path;
}

// 128 EEG channels of 2-byte samples at 2048 frames per second, 20 s, and one archived
// montage of 128 lines, each channel against the next.
RecordingDescription wideRecording() {
    RecordingDescription d;
    d.rate = 2048;
    std::vector<std::pair<uint16_t, uint16_t>> lines;
    for (uint16_t c = 1; c <= 128; ++c) {
        d.order.push_back(c);
        d.electrodes[c] = viewer::testing::eegElectrode("E");
        lines.emplace_back(c, c % 128 + 1);
    }
    d.frames = 20 * 2048;
    d.sample = [](int64_t frame, int channel) {
        return static_cast<int32_t>(32768 + (frame * 37 + channel * 101) % 2000 - 1000);
    };
    d.montages = {viewer::testing::montage("Wide", lines)};
    return d;
}

// Draws pages `step` seconds apart until the data runs out, then starts again.
void drawPages(benchmark::State& state, TraceModel& model, int32_t step) {
    const int32_t seconds =
        static_cast<int32_t>(model.recording().totalSamples / model.recording().header.rate);
    int32_t sec = 0;
    for (auto _ : state) {
        bool switched = false;
        if (!model.seekPage(sec, false, switched)) {
            sec = 0;
            model.seekPage(sec, false, switched);
        }
        benchmark::DoNotOptimize(model.loadPage());
        model.computeLineValues();
        benchmark::DoNotOptimize(model.lineValues(0).data());
        sec = (sec + step) % seconds;
    }
    const auto& m = model.recording().currentMontage;
    state.SetItemsProcessed(state.iterations() * model.recording().samplesPerPage * m.numLines);
    state.counters["lines"] = m.numLines;
    state.counters["frames"] = model.recording().samplesPerPage;
}

void BM_DrawPageDemoLongitudinal(benchmark::State& state) {
    static const std::string path = written("demo.vwr", demo::demoRecording());
    auto model = std::make_unique<TraceModel>();
    model->open(path, false);
    model->chooseMontage(30, 50); // archived montage 0: the longitudinal bipolar
    model->setPageSeconds(10.0f);
    model->setNotch(1);
    drawPages(state, *model, 10);
}
BENCHMARK(BM_DrawPageDemoLongitudinal)->Unit(benchmark::kMicrosecond);

void BM_DrawPageLargest128Lines(benchmark::State& state) {
    static const std::string path = written("wide.vwr", wideRecording());
    auto model = std::make_unique<TraceModel>();
    model->open(path, false);
    model->chooseMontage(30, 50);
    model->setPageSeconds(1e6f); // the largest page the buffer holds
    model->setNotch(1);
    drawPages(state, *model, 5);
}
BENCHMARK(BM_DrawPageLargest128Lines)->Unit(benchmark::kMillisecond);

} // namespace
