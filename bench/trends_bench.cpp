// The trends of a day-long recording: 64 channels of 2-byte samples at 512 frames per second
// for 24 hours (5.7 GB of samples), its first 19 channels named as the 10-20 electrodes so
// that the "Double banana" applies, written sparse (the samples read back from memory as from
// a warm page cache) into a folder removed at exit. Wall-clock times on every core
// (two here): all trends, the hour around the page first, reading them back from the cache;
// the main window's page step while the trends are computed behind it; peak memory.

#include "CViewerCtrl.h"
#include "MyScrollBar.h"
#include "TrendsRunner.h"
#include "TrendsTools.h"
#include "bench_recordings.h"
#include "frmView.h"
#include "trend_cache.h"
#include "trend_engine.h"
#include "trend_recordings.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

namespace tr = viewer::trends;
using Clock = std::chrono::steady_clock;

constexpr int kChannels = 64;
constexpr int kRate = 512;
constexpr int64_t kFrames = int64_t{24} * 3600 * kRate;

const std::string& dayLongRecording() {
    static const std::string path = [] {
        viewer::testing::RecordingDescription d;
        d.rate = kRate;
        const auto& names = viewer::testing::tenTwenty();
        for (uint16_t c = 1; c <= kChannels; ++c) {
            d.order.push_back(c);
            // The 10-20 names first, then E20 ... E64.
            char label[8];
            std::snprintf(label, sizeof label, "E%d", c);
            d.electrodes[c] =
                viewer::testing::eegElectrode(c <= names.size() ? names[c - 1u] : label);
        }
        std::string p = bench::written("trends-day.vwr", d);
        std::filesystem::resize_file(p, std::filesystem::file_size(p) + kFrames * kChannels * 2);
        return p;
    }();
    return path;
}

tr::TrendRequest dayRequest(double centre) {
    return {dayLongRecording(),
            tr::chooseMontage(viewer::testing::tenTwenty(), {}),
            10.0,
            centre,
            0,
            false};
}

double secondsSince(Clock::time_point t) {
    return std::chrono::duration<double>(Clock::now() - t).count();
}

// Every trend of every segment of the day.
void BM_TrendsDayLong(benchmark::State& state) {
    for (auto _ : state) {
        tr::TrendEngine engine;
        std::string error;
        if (!engine.open(dayRequest(0.0), error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        engine.start({}, {});
        engine.wait();
        benchmark::DoNotOptimize(engine.result().cdsa.data());
        state.counters["segments"] = engine.result().segmentsDone();
    }
    state.counters["peak_rss_MB"] = bench::peakResidentMb();
}

// The hour around a page in the middle of the day: from the start until every segment
// within 30 minutes of the page is in.
void BM_TrendsFirstHourAroundThePage(benchmark::State& state) {
    const double page = 12 * 3600.0;
    for (auto _ : state) {
        tr::TrendEngine engine;
        std::string error;
        const auto t0 = Clock::now();
        if (!engine.open(dayRequest(page), error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        const int first = static_cast<int>((page - 1800.0) / 10.0);
        const int last = static_cast<int>((page + 1800.0) / 10.0);
        std::atomic<int> inHour{0};
        std::atomic<double> hourSeconds{0.0};
        engine.start(
            [&](const tr::BlockResult& b) {
                const int n =
                    std::max(0, std::min(last, b.first + b.count) - std::max(first, b.first));
                if (n > 0 && (inHour += n) >= last - first) {
                    hourSeconds = secondsSince(t0);
                }
            },
            {});
        while (hourSeconds.load() == 0.0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        engine.cancel();
        state.SetIterationTime(hourSeconds.load());
    }
}

// Reopening: the cache key of the recording and the cached trends read back.
void BM_TrendsFromCache(benchmark::State& state) {
    const QTemporaryDir folder;
    tr::TrendEngine engine;
    std::string error;
    if (!engine.open(dayRequest(0.0), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    tr::TrendData full = engine.layout();
    std::fill(full.done.begin(), full.done.end(), 1);
    const tr::TrendRequest request = dayRequest(0.0);
    const std::string key = tr::cacheKey(request.path, request.montage, request.segmentSeconds);
    tr::writeCache(folder.path().toStdString(), key, full);
    for (auto _ : state) {
        const std::string k = tr::cacheKey(request.path, request.montage, request.segmentSeconds);
        const auto back = tr::readCache(folder.path().toStdString(), k);
        if (!back) {
            state.SkipWithError("the cache was not read back");
            return;
        }
        benchmark::DoNotOptimize(back->cdsa.data());
    }
    state.counters["cache_MB"] = static_cast<double>(std::filesystem::file_size(
                                     tr::cachePath(folder.path().toStdString(), key))) /
                                 1e6;
}

// The main window's page step (the scroll bar's Value written, the page drawn, the window
// painted) while the trend panel's workers compute the day behind it: the median step.
void BM_PageStepWhileTrendsCompute(benchmark::State& state) {
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    qputenv("XDG_CACHE_HOME", settings.path().toUtf8());
    QSettings(QSettings::IniFormat, QSettings::UserScope, "Viewer", "Viewer")
        .setValue("Trends/Shown", true);
    frmView window;
    window.ViewTrace1()->setVerticalResolution(1080);
    window.Form_Load(QString());
    window.resize(1920, 1080);
    window.show();
    window.OpenTrace(QString::fromStdString(dayLongRecording()));
    QApplication::processEvents();
    MyScrollBar& bar = *window.hscroll1();
    std::vector<double> steps;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        bar.setValue(bar.Value() + bar.largeChange());
        QApplication::processEvents();
        steps.push_back(secondsSince(t0) * 1000.0);
        state.SetIterationTime(steps.back() / 1000.0);
    }
    std::sort(steps.begin(), steps.end());
    state.counters["median_ms"] = steps[steps.size() / 2];
    state.counters["p90_ms"] = steps[steps.size() * 9 / 10];
    state.counters["segments_done"] = window.trends().runner().segmentsDone();
}

BENCHMARK(BM_TrendsDayLong)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_TrendsFirstHourAroundThePage)
    ->Unit(benchmark::kSecond)
    ->Iterations(3)
    ->UseManualTime();
BENCHMARK(BM_TrendsFromCache)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_PageStepWhileTrendsCompute)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(300)
    ->UseManualTime();

} // namespace
