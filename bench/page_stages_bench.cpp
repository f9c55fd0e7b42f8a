// Where the control's DrawPage goes, stage by stage, at 1920 x 1000: seeking the page, reading
// and re-referencing its frames, the lines' filtered values, the page layer (what the last
// drawing changed copied back from the static layer, and the traces reduced to pixel columns
// and rasterised, band by band: measured as the page layer's drawing less the values it
// computes), and the walk over the notes. Each stage is a counter in microseconds per page.

#include "CViewerCtrl.h"
#include "bench_recordings.h"
#include "demo_recording.h"
#include "page_layer.h"
#include "page_notes.h"
#include "trace_geometry.h"
#include "trace_model.h"

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

enum Stage { kSeek, kRead, kValues, kLayer, kNotes, kStages };
constexpr std::array<const char*, kStages> kNames = {"seek_us", "read_us", "values_us", "layer_us",
                                                     "notes_us"};

void stages(benchmark::State& state, const std::string& path, float seconds, int32_t step) {
    CViewerCtrl ctrl; // the static layer, row centres and label width the control draws on
    ctrl.setVerticalResolution(1080);
    ctrl.resize(1920, 1000);
    ctrl.setGridType(3);
    ctrl.setTraceOverLabel(false);
    ctrl.FileName(QString::fromStdString(path));
    ctrl.setNumMont(30);
    ctrl.SetSecNumber(seconds);
    ctrl.SetNotchFilter(1);
    ctrl.DrawPage(0);
    viewer::TraceModel model;
    model.open(path, false);
    model.chooseMontage(30, 50);
    model.setPageSeconds(seconds);
    model.setNotch(1);
    viewer::PageLayerSettings settings;
    settings.labelWidth = ctrl.layerLabelWidth();
    settings.rowCentre = ctrl.layerRowCentre();
    settings.pixelsPerCm = viewer::pixelsPerCm(1080);
    settings.background = &ctrl.staticLayer();
    viewer::LayerRefresh refresh;
    settings.refresh = &refresh;
    QImage layer = ctrl.staticLayer().copy();

    std::array<double, kStages> total{};
    const int32_t last = ctrl.totalTrcSec() - step;
    int32_t sec = 0;
    for (auto _ : state) {
        std::array<Clock::time_point, kStages + 1> t;
        t[0] = Clock::now();
        bool switched = false;
        model.seekPage(sec, false, switched);
        t[1] = Clock::now();
        benchmark::DoNotOptimize(model.loadPage());
        t[2] = Clock::now();
        model.computeLineValues();
        t[3] = Clock::now();
        viewer::drawPageLayer(layer, model, ctrl.traceColours(), settings);
        t[4] = Clock::now();
        benchmark::DoNotOptimize(viewer::notesOnPage(model.recording(), settings.labelWidth,
                                                     1920 - settings.labelWidth));
        t[5] = Clock::now();
        for (int i = 0; i < kStages; ++i) {
            total[i] += std::chrono::duration<double, std::micro>(t[i + 1] - t[i]).count();
        }
        total[kLayer] -= std::chrono::duration<double, std::micro>(t[3] - t[2]).count();
        sec = sec + step > last ? 0 : sec + step;
    }
    for (int i = 0; i < kStages; ++i) {
        state.counters[kNames[i]] = total[i] / static_cast<double>(state.iterations());
    }
}

void BM_DrawPageStagesDemo(benchmark::State& state) {
    static const std::string path = bench::written("demo.vwr", demo::demoRecording());
    stages(state, path, 10.0f, 10);
}
BENCHMARK(BM_DrawPageStagesDemo)->Unit(benchmark::kMillisecond);

void BM_DrawPageStagesLargest128Lines(benchmark::State& state) {
    static const std::string path = bench::written("wide.vwr", bench::wideRecording());
    stages(state, path, 1e6f, 5);
}
BENCHMARK(BM_DrawPageStagesLargest128Lines)->Unit(benchmark::kMillisecond);

void BM_DrawPageStages64Channels512Hz(benchmark::State& state) {
    static const std::string path = bench::written("clinical.vwr", bench::clinicalRecording());
    stages(state, path, 10.0f, 10);
}
BENCHMARK(BM_DrawPageStages64Channels512Hz)->Unit(benchmark::kMillisecond);

} // namespace
