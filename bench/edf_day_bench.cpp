// A day of EEG as EDF+: 64 channels at 512 Hz, 24 hours (5.7 GB; VIEWER_EDF_HOURS sets
// fewer hours), a note every 30 s, written with edflib into a temporary folder the first
// time a benchmark of this file runs and deleted at exit. The figures: opening and the first
// page (header and the first records' notes, "All electrodes", page read and filtered), a
// page step, the reading of every annotation (page cache warm, and cold: the file's pages
// dropped first), and the resident memory after the steps.

#include "bench_recordings.h"
#include "derivations.h"
#include "edf_annotations.h"
#include "trace_model.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <edflib.h>
#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kChannels = 64;
constexpr int kRate = 512;

} // namespace

std::string bench::writeEdfDay(const std::string& path, int hours) {
    const int h = edfopen_file_writeonly(path.c_str(), EDFLIB_FILETYPE_EDFPLUS, kChannels);
    for (int s = 0; s < kChannels; ++s) {
        edf_set_samplefrequency(h, s, kRate);
        edf_set_physical_maximum(h, s, 3276.7);
        edf_set_physical_minimum(h, s, -3276.8);
        edf_set_digital_maximum(h, s, 32767);
        edf_set_digital_minimum(h, s, -32768);
        edf_set_label(h, s, ("EEG E" + std::to_string(s + 1) + "-REF").c_str());
        edf_set_physical_dimension(h, s, "uV");
    }
    edf_set_patientname(h, "Day, Test");
    std::vector<short> table(kRate * 7);
    for (size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<short>(400 * std::sin(0.05 * static_cast<double>(i)) + i % 97);
    }
    for (int64_t second = 0; second < int64_t{hours} * 3600; ++second) {
        for (int s = 0; s < kChannels; ++s) {
            edfwrite_digital_short_samples(h, table.data() + (second + s) % 7 * kRate);
        }
        if (second % 30 == 0) {
            edfwrite_annotation_utf8(h, second * 10000, 300000,
                                     ("Stage " + std::to_string(second / 30 % 5)).c_str());
        }
    }
    edfclose_file(h);
    return path;
}

namespace {

const std::string& dayFile() {
    static QTemporaryDir dir;
    static const std::string path = bench::writeEdfDay(
        dir.filePath(QStringLiteral("day.edf")).toStdString(),
        std::getenv("VIEWER_EDF_HOURS") ? std::atoi(std::getenv("VIEWER_EDF_HOURS")) : 24);
    return path;
}

double residentMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024;
        }
    }
    return 0;
}

void opened(viewer::TraceModel& model) {
    model.open(dayFile(), false, viewer::NotesReading::Start);
    model.chooseMontage(static_cast<int16_t>(30), 50); // all electrodes
    bool switched = false;
    model.seekPage(0, false, switched);
    model.loadPage();
    model.computeLineValues();
}

void BM_EdfDayOpenAndFirstPage(benchmark::State& state) {
    dayFile();
    for (auto _ : state) {
        viewer::TraceModel model;
        opened(model);
        benchmark::DoNotOptimize(model.lineValues(0).data());
    }
}
BENCHMARK(BM_EdfDayOpenAndFirstPage)->Unit(benchmark::kMillisecond);

void BM_EdfDayPageStep(benchmark::State& state) {
    viewer::TraceModel model;
    opened(model);
    int32_t second = 3600;
    for (auto _ : state) {
        bool switched = false;
        model.seekPage(second, false, switched);
        model.loadPage();
        model.computeLineValues();
        second += 10;
    }
    state.counters["resident_mb"] = residentMb();
}
BENCHMARK(BM_EdfDayPageStep)->Unit(benchmark::kMillisecond);

// Every record's annotation signal, as the reading after the first page does; `cold` drops
// the file's pages from the cache first.
void BM_EdfDayAnnotations(benchmark::State& state) {
    viewer::Recording rec;
    viewer::openRecording(rec, dayFile(), viewer::NotesReading::Start);
    viewer::TraceFile file;
    file.open(dayFile());
    file.adviseRandomAccess();
    size_t notes = 0;
    for (auto _ : state) {
        if (state.range(0) != 0) {
            state.PauseTiming();
            const int fd = ::open(dayFile().c_str(), O_RDONLY);
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
            ::close(fd);
            state.ResumeTiming();
        }
        notes =
            viewer::scanEdfRecords(file, rec.edf->layout, 0, rec.edf->layout.records).notes.size();
    }
    state.counters["notes"] = static_cast<double>(notes);
    state.counters["records"] = static_cast<double>(rec.edf->layout.records);
}
BENCHMARK(BM_EdfDayAnnotations)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
