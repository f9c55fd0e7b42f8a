// The trace control end to end at 1920 x 1000: DrawPage (read, line values, static copy,
// traces, notes) and Redraw(false) (static layer and traces from the page already read).

#include "CViewerCtrl.h"
#include "bench_recordings.h"
#include "demo_recording.h"

#include <QString>
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1000;

// A control showing `path` with archived montage 0, the page length `seconds` (capped by the
// buffer) and the 50 Hz notch on.
std::unique_ptr<CViewerCtrl> showing(const std::string& path, float seconds) {
    auto ctrl = std::make_unique<CViewerCtrl>();
    ctrl->setVerticalResolution(1080);
    ctrl->resize(kWidth, kHeight);
    ctrl->setGridType(3);
    ctrl->setTraceOverLabel(false);
    ctrl->FileName(QString::fromStdString(path));
    ctrl->setNumMont(30);
    ctrl->SetSecNumber(seconds);
    ctrl->SetNotchFilter(1);
    return ctrl;
}

// DrawPage on pages `step` seconds apart, from the start again when the data runs out.
void drawPages(benchmark::State& state, CViewerCtrl& ctrl, int32_t step) {
    const int32_t last = ctrl.totalTrcSec() - step;
    int32_t sec = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ctrl.DrawPage(sec));
        benchmark::DoNotOptimize(ctrl.pageLayer().constBits()); // rasterised when looked at
        sec = sec + step > last ? 0 : sec + step;
    }
    state.counters["lines"] = ctrl.recording().currentMontage.numLines;
    state.counters["frames"] = ctrl.recording().samplesPerPage;
}

void redraws(benchmark::State& state, CViewerCtrl& ctrl) {
    ctrl.DrawPage(0);
    for (auto _ : state) {
        ctrl.Redraw(false);
        benchmark::DoNotOptimize(ctrl.pageLayer().constBits());
    }
}

const std::string& demoPath() {
    static const std::string path = bench::written("demo.vwr", demo::demoRecording());
    return path;
}

const std::string& widePath() {
    static const std::string path = bench::written("wide.vwr", bench::wideRecording());
    return path;
}

void BM_ControlDrawPageDemo(benchmark::State& state) {
    const auto ctrl = showing(demoPath(), 10.0f);
    drawPages(state, *ctrl, 10);
}
BENCHMARK(BM_ControlDrawPageDemo)->Unit(benchmark::kMillisecond);

void BM_ControlRedrawDemo(benchmark::State& state) {
    const auto ctrl = showing(demoPath(), 10.0f);
    redraws(state, *ctrl);
}
BENCHMARK(BM_ControlRedrawDemo)->Unit(benchmark::kMillisecond);

void BM_ControlDrawPageLargest128Lines(benchmark::State& state) {
    const auto ctrl = showing(widePath(), 1e6f);
    drawPages(state, *ctrl, 5);
}
BENCHMARK(BM_ControlDrawPageLargest128Lines)->Unit(benchmark::kMillisecond);

void BM_ControlRedrawLargest128Lines(benchmark::State& state) {
    const auto ctrl = showing(widePath(), 1e6f);
    redraws(state, *ctrl);
}
BENCHMARK(BM_ControlRedrawLargest128Lines)->Unit(benchmark::kMillisecond);

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); -1 when it cannot be read.
long statusKib(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key) {
            long kib = -1;
            status >> kib;
            return kib;
        }
    }
    return -1;
}

// One channel on 128 lines over the longest page the buffer holds (5120 s, 1310720 frames):
// the most line values a page can have. "peakMiB" is how far the resident memory rose
// above its size before the first DrawPage.
void BM_ControlDrawPageOneChannel128Lines(benchmark::State& state) {
    static const std::string path = bench::written("narrow.vwr", bench::narrowRecording());
    std::ofstream("/proc/self/clear_refs") << "5"; // restarts the peak at the current size
    const long before = statusKib("VmRSS:");
    const auto ctrl = showing(path, 1e6f);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ctrl->DrawPage(0));
        benchmark::DoNotOptimize(ctrl->pageLayer().constBits());
    }
    state.counters["lines"] = ctrl->recording().currentMontage.numLines;
    state.counters["frames"] = ctrl->recording().samplesPerPage;
    state.counters["peakMiB"] = static_cast<double>(statusKib("VmHWM:") - before) / 1024.0;
}
BENCHMARK(BM_ControlDrawPageOneChannel128Lines)->Unit(benchmark::kMillisecond);

} // namespace
