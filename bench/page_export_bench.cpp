// Pages for reports: a 10-page PDF of the demo recording (landscape A4, 600 dpi, vector
// traces and text), and the demo page drawn on screen at a device pixel ratio of 2.

#include "CViewerCtrl.h"
#include "bench_recordings.h"
#include "demo_recording.h"
#include "page_files.h"

#include <QFile>
#include <QString>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

const std::string& demoPath() {
    static const std::string path = bench::written("demo-pages.vwr", demo::demoRecording());
    return path;
}

std::unique_ptr<CViewerCtrl> demoControl(double ratio) {
    auto ctrl = std::make_unique<CViewerCtrl>();
    ctrl->setVerticalResolution(1080);
    ctrl->setLayerScale(ratio);
    ctrl->resize(1920, 1000);
    ctrl->setGridType(3);
    ctrl->setTraceOverLabel(false);
    ctrl->FileName(QString::fromStdString(demoPath()));
    ctrl->setNumMont(30);
    ctrl->SetSecNumber(10.0f);
    ctrl->SetNotchFilter(1);
    ctrl->DrawPage(0);
    return ctrl;
}

void BM_PdfTenPagesDemo(benchmark::State& state) {
    const auto ctrl = demoControl(1.0);
    PageExportRequest request;
    request.path = QString::fromStdString(demoPath() + ".pdf"); // removed with the folder
    request.pages = 10;
    size_t pages = 0;
    for (auto _ : state) {
        pages = exportPages(*ctrl, request).pageStarts.size();
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["KiB"] = static_cast<double>(QFile(request.path).size()) / 1024.0;
}
BENCHMARK(BM_PdfTenPagesDemo)->Unit(benchmark::kMillisecond);

void BM_ControlDrawPageDemoRatio2(benchmark::State& state) {
    const auto ctrl = demoControl(2.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ctrl->DrawPage(10));
        benchmark::DoNotOptimize(ctrl->pageLayer().constBits());
    }
}
BENCHMARK(BM_ControlDrawPageDemoRatio2)->Unit(benchmark::kMillisecond);

} // namespace
