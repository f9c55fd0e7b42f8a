// The main window's page step with the review tools shown (measurement overlay over the
// traces, time ruler under them) and hidden: the step writes the scroll bar's Value (page
// drawn, ruler and notes panel following) and the window is painted. The same step, tools
// hidden, on a 64-channel 512 Hz recording.

#include "CViewerCtrl.h"
#include "MyScrollBar.h"
#include "bench_recordings.h"
#include "demo_recording.h"
#include "frmView.h"
#include "review/MeasureOverlay.h"
#include "review/ReviewTools.h"
#include "review/TimeRuler.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void pageSteps(benchmark::State& state, const std::string& path, bool tools) {
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    frmView window;
    window.ViewTrace1()->setVerticalResolution(1080);
    window.Form_Load(QString());
    window.resize(1920, 1080);
    window.show();
    window.OpenTrace(QString::fromStdString(path));
    window.review().rulerAction().setChecked(tools);
    window.review().overlay().setVisible(tools);
    QApplication::processEvents();
    MyScrollBar& bar = *window.hscroll1();
    const double last = bar.max() - bar.largeChange();
    for (auto _ : state) {
        bar.setValue(bar.Value() + bar.largeChange() > last ? 0 : bar.Value() + bar.largeChange());
        window.repaint();
    }
}

const std::string& demoPath() {
    static const std::string path = bench::written("demo.vwr", demo::demoRecording());
    return path;
}

void BM_PageStepWithReviewTools(benchmark::State& state) { pageSteps(state, demoPath(), true); }
void BM_PageStepWithoutReviewTools(benchmark::State& state) { pageSteps(state, demoPath(), false); }
void BM_PageStep64Channels512Hz(benchmark::State& state) {
    static const std::string path = bench::written("clinical.vwr", bench::clinicalRecording());
    pageSteps(state, path, false);
}

} // namespace

BENCHMARK(BM_PageStepWithReviewTools)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageStepWithoutReviewTools)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageStep64Channels512Hz)->Unit(benchmark::kMillisecond);
