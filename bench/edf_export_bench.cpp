// Converting a day-long recording to EDF+: 64 channels of 2-byte samples at 512 frames per
// second for 24 hours (5.7 GB of samples), written sparse so that the data reads back from
// memory as from a warm page cache. The EDF+ goes to /dev/null, so that the figure is the
// converter's and not the disk's. Resident memory is reported as the process's peak.

#include "bench_recordings.h"
#include "edf_export.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

constexpr int kChannels = 64;
constexpr int kRate = 512;
constexpr int64_t kFrames = int64_t{24} * 3600 * kRate;

std::string dayLongRecording() {
    viewer::testing::RecordingDescription d;
    d.rate = kRate;
    for (uint16_t c = 1; c <= kChannels; ++c) {
        d.order.push_back(c);
        d.electrodes[c] = viewer::testing::eegElectrode(viewer::testing::numberedLabel("E", c));
    }
    for (int i = 1; i <= 200; ++i) {
        d.notes.push_back(viewer::testing::note(static_cast<int32_t>(i * (kFrames / 201)), "Note"));
    }
    std::string path = bench::written("day.vwr", d);
    const auto header = std::filesystem::file_size(path);
    std::filesystem::resize_file(path, header + kFrames * kChannels * 2);
    return path;
}

void BM_ExportDayLongRecording(benchmark::State& state) {
    const std::string path = dayLongRecording();
    viewer::Recording rec;
    if (!viewer::openRecording(rec, path)) {
        state.SkipWithError("the recording did not open");
        return;
    }
    viewer::edf::ExportRequest request;
    request.output = "/dev/null";
    request.overwrite = true;
    for (auto _ : state) {
        const auto result = viewer::edf::exportRecording(rec, request);
        if (result.outcome != viewer::edf::ExportResult::Outcome::Written) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        benchmark::DoNotOptimize(result.frames);
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(state.iterations() * kFrames * kChannels * 2);
    state.counters["peak_rss_MB"] = bench::peakResidentMb();
}

// CPU time of the converting thread: the figure for one core, whatever else the machine runs.
BENCHMARK(BM_ExportDayLongRecording)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace
