// Switching montage in the main window, as the montage list (or Alt+1 ... Alt+9) does it, on
// the demo recording with the window at 1920 x 1080: the recording's archived montages
// (their handler refreshes the page length, gain and filter lists, each list's handler drawing
// the page), the standard montages (shown once and drawn once), and a page step for
// comparison. Press to end of drawing, without the paint to the screen.

#include "CViewerCtrl.h"
#include "MontageList.h"
#include "MyScrollBar.h"
#include "bench_recordings.h"
#include "demo_recording.h"
#include "frmView.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

const std::string& demoPath() {
    static const std::string path = bench::written("demo.vwr", demo::demoRecording());
    return path;
}

// The main window on the demo recording, its own settings and montage folder empty.
struct Window {
    QTemporaryDir config;
    std::unique_ptr<frmView> window;

    Window() {
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        window = std::make_unique<frmView>();
        window->Form_Load(QString());
        window->show();
        window->resize(1920, 1080); // after the placement the settings restore
        QCoreApplication::processEvents();
        window->ViewTrace1()->setVerticalResolution(1080);
        window->OpenTrace(QString::fromStdString(demoPath()));
    }
    // The list entries whose values satisfy `wanted`.
    template <typename Wanted> std::vector<int> entries(Wanted wanted) const {
        std::vector<int> found;
        const QComboBox& list = *window->cmbViewMode();
        for (int i = 0; i < list.count(); ++i) {
            if (wanted(list.itemData(i).toInt())) {
                found.push_back(i);
            }
        }
        return found;
    }
};

void switching(benchmark::State& state, Window& w, const std::vector<int>& entries) {
    size_t k = 0;
    for (auto _ : state) {
        w.window->montages().select(entries[k]);
        benchmark::DoNotOptimize(w.window->ViewTrace1()->pageLayer().constBits()); // the paint
        k = (k + 1) % entries.size();
    }
    state.counters["montages"] = static_cast<double>(entries.size());
    state.counters["width"] = w.window->ViewTrace1()->clientSize().width();
    state.counters["lines"] = w.window->ViewTrace1()->lineCount();
}

void BM_SwitchArchivedMontage(benchmark::State& state) {
    Window w;
    switching(state, w, w.entries([](int v) { return v >= 0 && v < 100; }));
}
BENCHMARK(BM_SwitchArchivedMontage)->Unit(benchmark::kMillisecond);

void BM_SwitchStandardMontage(benchmark::State& state) {
    Window w;
    switching(state, w, w.entries([](int v) {
        return v >= MontageList::kFirstStandard && v < MontageList::kFirstOwn;
    }));
}
BENCHMARK(BM_SwitchStandardMontage)->Unit(benchmark::kMillisecond);

void BM_SwitchPageStep(benchmark::State& state) {
    Window w;
    int32_t sec = 0;
    for (auto _ : state) {
        sec = sec + 10 > 1000 ? 0 : sec + 10;
        w.window->hscroll1()->setValue(sec);
        benchmark::DoNotOptimize(w.window->ViewTrace1()->pageLayer().constBits());
    }
}
BENCHMARK(BM_SwitchPageStep)->Unit(benchmark::kMillisecond);

} // namespace
