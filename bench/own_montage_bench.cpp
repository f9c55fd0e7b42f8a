// Montages of one's own against the recorded montage of as many lines, on the control at
// 1920 x 1000: 64 weighted lines, the recorded lines as weighted ones (the same picture), a
// common average of 64 electrodes, and switching montage.

#include "CViewerCtrl.h"
#include "bench_recordings.h"

#include <QString>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kChannels = 64;

using viewer::MontageDefinition;
using viewer::MontageLine;

std::string name(int channel) {
    std::string text = std::to_string(channel);
    text.insert(text.begin(), 'E');
    return text;
}

// The clinical recording (64 channels at 512 Hz, an archived montage of each channel against
// the next) with electrodes named E1 ... E64.
const std::string& clinicalPath() {
    static const std::string path = [] {
        viewer::testing::RecordingDescription d = bench::clinicalRecording();
        for (int c = 1; c <= kChannels; ++c) {
            d.electrodes[c] = viewer::testing::eegElectrode(name(c));
        }
        return bench::written("clinical-named.vwr", d);
    }();
    return path;
}

// Each electrode less the mean of the next two: 64 weighted lines of three electrodes.
MontageDefinition weightedLines() {
    MontageDefinition def{"Weighted", {}};
    for (int c = 1; c <= kChannels; ++c) {
        MontageLine l;
        l.label = name(c) + "-mean";
        l.terms = {
            {name(c), 1.0}, {name(c % kChannels + 1), -0.5}, {name((c + 1) % kChannels + 1), -0.5}};
        def.lines.push_back(l);
    }
    return def;
}

// The recorded montage's lines (each channel against the next) as weighted lines of weights
// 2 and -2 at twice the gain: the same picture, every line through the weighted path.
MontageDefinition samePicture() {
    MontageDefinition def{"Same picture", {}};
    for (int c = 1; c <= kChannels; ++c) {
        MontageLine l;
        l.label = name(c % kChannels + 1) + " " + name(c);
        l.terms = {{name(c), 2.0}, {name(c % kChannels + 1), -2.0}};
        l.gainUvPerCm = 200;
        def.lines.push_back(l);
    }
    return def;
}

// Each electrode less the mean of all 64.
MontageDefinition commonAverage() {
    MontageDefinition def{"Average", {}};
    for (int c = 1; c <= kChannels; ++c) {
        MontageLine l;
        l.label = name(c) + "-avg";
        l.terms = {{name(c), 1.0}};
        for (int r = 1; r <= kChannels; ++r) {
            l.terms.push_back({name(r), -1.0 / kChannels});
        }
        def.lines.push_back(l);
    }
    return def;
}

// The control on 10 s pages of the clinical recording, 50 Hz notch, grids and labels,
// showing its archived montage.
std::unique_ptr<CViewerCtrl> control() {
    auto ctrl = std::make_unique<CViewerCtrl>();
    ctrl->setVerticalResolution(1080);
    ctrl->resize(1920, 1000);
    ctrl->setGridType(3);
    ctrl->setTraceOverLabel(false);
    ctrl->FileName(QString::fromStdString(clinicalPath()));
    ctrl->setNumMont(30);
    ctrl->SetSecNumber(10.0f);
    ctrl->SetNotchFilter(1);
    return ctrl;
}

// DrawPage on consecutive 10 s pages, from the start again at the end of the data.
void pages(benchmark::State& state, CViewerCtrl& ctrl) {
    int32_t sec = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ctrl.DrawPage(sec));
        benchmark::DoNotOptimize(ctrl.pageLayer().constBits()); // rasterised when looked at
        sec = sec + 10 > ctrl.totalTrcSec() - 10 ? 0 : sec + 10;
    }
    state.counters["lines"] = ctrl.recording().currentMontage.numLines;
}

void BM_OwnRecorded64Lines(benchmark::State& state) {
    const auto ctrl = control();
    pages(state, *ctrl);
}
BENCHMARK(BM_OwnRecorded64Lines)->Unit(benchmark::kMillisecond);

void BM_OwnWeighted64Lines(benchmark::State& state) {
    const auto ctrl = control();
    ctrl->showMontage(weightedLines());
    pages(state, *ctrl);
}
BENCHMARK(BM_OwnWeighted64Lines)->Unit(benchmark::kMillisecond);

void BM_OwnSamePicture64Lines(benchmark::State& state) {
    const auto ctrl = control();
    ctrl->showMontage(samePicture());
    pages(state, *ctrl);
}
BENCHMARK(BM_OwnSamePicture64Lines)->Unit(benchmark::kMillisecond);

void BM_OwnCommonAverage64Lines(benchmark::State& state) {
    const auto ctrl = control();
    ctrl->showMontage(commonAverage());
    pages(state, *ctrl);
}
BENCHMARK(BM_OwnCommonAverage64Lines)->Unit(benchmark::kMillisecond);

// Switching between two own montages and drawing the page, as the montage list does.
void BM_OwnSwitchMontage(benchmark::State& state) {
    const auto ctrl = control();
    const MontageDefinition defs[] = {weightedLines(), commonAverage()};
    int k = 0;
    ctrl->DrawPage(60);
    for (auto _ : state) {
        ctrl->showMontage(defs[k]);
        benchmark::DoNotOptimize(ctrl->DrawPage(60));
        benchmark::DoNotOptimize(ctrl->pageLayer().constBits());
        k = 1 - k;
    }
}
BENCHMARK(BM_OwnSwitchMontage)->Unit(benchmark::kMillisecond);

// The switch alone: derivations, filters and the static layer of the new montage.
void BM_OwnShowMontage(benchmark::State& state) {
    const auto ctrl = control();
    const MontageDefinition defs[] = {weightedLines(), commonAverage()};
    int k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ctrl->showMontage(defs[k]));
        k = 1 - k;
    }
}
BENCHMARK(BM_OwnShowMontage)->Unit(benchmark::kMillisecond);

} // namespace
