// Benchmark main: one QApplication (offscreen unless told otherwise) for the drawing cases.
// `viewer_bench --write-clinical PATH` only writes the 64-channel 512 Hz recording to PATH (for
// scripts/measure-steps); `viewer_bench --write-edf-day PATH HOURS` writes the 64-channel
// 512 Hz EDF+ day (edf_day_bench.cpp) of HOURS hours.

#include "bench_recordings.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string_view>

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--write-clinical") {
        viewer::testing::writeRecording(argv[2], bench::clinicalRecording());
        return 0;
    }
    if (argc == 4 && std::string_view(argv[1]) == "--write-edf-day") {
        bench::writeEdfDay(argv[2], std::atoi(argv[3]));
        return 0;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
