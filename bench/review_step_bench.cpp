// The main window's page step with the review tools shown (measurement overlay over the
// traces, time ruler under them) and hidden: the step writes the scroll bar's Value (page
// drawn, note labels, ruler and notes panel following) and the window is painted. The same
// step on a 64-channel 512 Hz recording, and one-second steps through the demo.
//
// Counters, per step: drawpage_ms, the control's DrawPage of the page alone (timed apart from
// the step, with the control's signals blocked); host_ms, the rest of the step (the change
// handler and everything following the page: labels, ruler, notes panel, time panel);
// paint_ms, the events the step leaves pending, the window's paint among them; trace_paints and
// window_paints, the paint events the trace control and all of the window's widgets get.

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

#include <chrono>

namespace {

// Counts the paint events of the trace control and of every widget of its window.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(const frmView& window) : window_(window) {
        QApplication::instance()->installEventFilter(this);
    }
    ~PaintCounter() override { QApplication::instance()->removeEventFilter(this); }
    PaintCounter(const PaintCounter&) = delete;
    PaintCounter& operator=(const PaintCounter&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_) {
            ++window;
            trace += watched == window_.ViewTrace1() ? 1 : 0;
        }
        return false;
    }

    int64_t trace = 0;
    int64_t window = 0;

private:
    const frmView& window_;
};

double msBetween(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

void pageSteps(benchmark::State& state, const std::string& path, bool tools,
               bool bySecond = false) {
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
    CViewerCtrl& trace = *window.ViewTrace1();
    const double last = bar.max() - bar.largeChange();
    const double step = bySecond ? bar.smallChange() : bar.largeChange();
    const PaintCounter paints(window);
    double drawMs = 0;
    double stepMs = 0;
    double paintMs = 0;
    for (auto _ : state) {
        const double next = bar.Value() + step > last ? 0 : bar.Value() + step;
        state.PauseTiming();
        const auto drawStart = std::chrono::steady_clock::now();
        trace.blockSignals(true);
        trace.DrawPage(static_cast<int32_t>(next));
        benchmark::DoNotOptimize(trace.pageLayer().constBits()); // rasterised when looked at
        trace.blockSignals(false);
        drawMs += msBetween(drawStart, std::chrono::steady_clock::now());
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        bar.setValue(next);
        const auto t1 = std::chrono::steady_clock::now();
        // The paint the event loop does: every widget with something to show, once.
        QApplication::processEvents();
        paintMs += msBetween(t1, std::chrono::steady_clock::now());
        stepMs += msBetween(t0, t1);
    }
    const auto perStep = [&](double v) {
        return benchmark::Counter(v / static_cast<double>(state.iterations()));
    };
    state.counters["drawpage_ms"] = perStep(drawMs);
    state.counters["host_ms"] = perStep(stepMs - drawMs);
    state.counters["paint_ms"] = perStep(paintMs);
    state.counters["trace_paints"] = perStep(static_cast<double>(paints.trace));
    state.counters["window_paints"] = perStep(static_cast<double>(paints.window));
}

const std::string& demoPath() {
    static const std::string path = bench::written("demo.vwr", demo::demoRecording());
    return path;
}

void BM_PageStepWithReviewTools(benchmark::State& state) { pageSteps(state, demoPath(), true); }
// The demo with 100,000 reviewer events in its sidecar: some 830 on every page, drawn by the
// events overlay, marked on the ruler and highlighted in the notes panel.
void BM_PageStepWith100000Events(benchmark::State& state) {
    static const std::string path = [] {
        const std::string p = bench::written("demo-events.vwr", demo::demoRecording());
        bench::writeEventSidecar(p, 100000, 1200.0);
        return p;
    }();
    pageSteps(state, path, true);
}
void BM_PageStepWithoutReviewTools(benchmark::State& state) { pageSteps(state, demoPath(), false); }
// One second at a time: a note's label stays on the page for ten steps.
void BM_SecondStepWithReviewTools(benchmark::State& state) {
    pageSteps(state, demoPath(), true, true);
}
void BM_PageStep64Channels512Hz(benchmark::State& state) {
    static const std::string path = bench::written("clinical.vwr", bench::clinicalRecording());
    pageSteps(state, path, false);
}
void BM_PageStep64Channels512HzWithReviewTools(benchmark::State& state) {
    static const std::string path = bench::written("clinical.vwr", bench::clinicalRecording());
    pageSteps(state, path, true);
}

} // namespace

BENCHMARK(BM_PageStepWithReviewTools)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageStepWithoutReviewTools)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageStepWith100000Events)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SecondStepWithReviewTools)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageStep64Channels512Hz)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PageStep64Channels512HzWithReviewTools)->Unit(benchmark::kMillisecond);
