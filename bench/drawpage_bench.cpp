// DrawPage's read-and-compute path: position the page, read and re-reference its frames,
// and run every line through its filter chain.

#include "bench_recordings.h"
#include "demo_recording.h"
#include "trace_model.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using bench::wideRecording;
using bench::written;
using viewer::TraceModel;

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
