// The reviewer's events at scale, 100,000 in the sidecar of the demo recording: opening the
// recording in the main window with and without them (the sidecar read, the lock, the notes
// panel and ruler filled), the notes panel's filter answering each keystroke, and the heap
// memory the events take.

#include "CViewerCtrl.h"
#include "bench_recordings.h"
#include "demo_recording.h"
#include "event_store.h"
#include "frmView.h"
#include "review/NotesPanel.h"
#include "review/ReviewTools.h"

#include <QApplication>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <malloc.h>

namespace {

constexpr int kEvents = 100000;

const std::string& plainDemo() {
    static const std::string path = bench::written("demo-plain.vwr", demo::demoRecording());
    return path;
}

const std::string& eventsDemo() {
    static const std::string path = [] {
        const std::string p = bench::written("demo-100k.vwr", demo::demoRecording());
        bench::writeEventSidecar(p, kEvents, 1200.0);
        return p;
    }();
    return path;
}

// Heap memory in use by this process, in megabytes (what the allocator has handed out, so
// memory freed by earlier benchmarks does not hide what the events take).
double heapInUseMb() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

struct Window {
    Window() {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        window.ViewTrace1()->setVerticalResolution(1080);
        window.Form_Load(QString());
        window.resize(1920, 1080);
        window.show();
        QApplication::processEvents();
    }
    const QTemporaryDir settings;
    frmView window;
};

// OpenTrace and the first page on screen; the argument says whether the sidecar holds events.
void BM_OpenRecording(benchmark::State& state) {
    Window w;
    const QString path = QString::fromStdString(state.range(0) != 0 ? eventsDemo() : plainDemo());
    for (auto _ : state) {
        w.window.OpenTrace(path);
        QApplication::processEvents();
    }
    state.counters["events"] = static_cast<double>(w.window.review().notes().model().rowCount());
}

// One keystroke in the notes panel's filter over the 100,000 events and the notes: the rows
// filtered and the list shown again.
void BM_NotesFilterKeystroke(benchmark::State& state) {
    Window w;
    w.window.OpenTrace(QString::fromStdString(eventsDemo()));
    NotesPanel& notes = w.window.review().notes();
    notes.show();
    QApplication::processEvents();
    const QString typed = QStringLiteral("finding 4711");
    int n = 0;
    for (auto _ : state) {
        notes.filter()->setText(typed.left(n % typed.size() + 1));
        QApplication::processEvents();
        ++n;
    }
    state.counters["rows_shown"] = notes.model().rowCount();
}

// Heap in use after opening the demo with 100,000 events, less that after opening it
// without; one opening each.
void BM_EventsMemory(benchmark::State& state) {
    double extra = 0;
    for (auto _ : state) {
        Window w;
        w.window.OpenTrace(QString::fromStdString(plainDemo()));
        QApplication::processEvents();
        const double before = heapInUseMb();
        w.window.OpenTrace(QString::fromStdString(eventsDemo()));
        QApplication::processEvents();
        extra = heapInUseMb() - before;
    }
    state.counters["extra_mb"] = extra;
}

} // namespace

BENCHMARK(BM_OpenRecording)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NotesFilterKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EventsMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
