#pragma once
// The recordings the benchmarks page through, written once per run.

#include "recording_writer.h"

#include <string>

namespace bench {

// Writes `d` as `name` into a folder removed at exit; returns its path.
std::string written(const std::string& name, const viewer::testing::RecordingDescription& d);

// 128 EEG channels of 2-byte samples at 2048 frames per second, 20 s, and one archived
// montage of 128 lines, each channel against the next.
viewer::testing::RecordingDescription wideRecording();

// 64 EEG channels at 512 frames per second, 10 minutes, and one archived montage of 64 lines,
// each channel against the next: a routine clinical recording, shortened.
viewer::testing::RecordingDescription clinicalRecording();

// One EEG channel at 256 frames per second, 20 s, and one archived montage showing it on
// 128 lines, each with its own high-pass: the page with the most line values.
viewer::testing::RecordingDescription narrowRecording();

// Writes the events sidecar of the recording at `recordingPath`: `count` reviewer events of the
// starting types spread evenly over `seconds`, every fifth a span of half a second.
void writeEventSidecar(const std::string& recordingPath, int count, double seconds);

// Peak resident memory of the process in MB (VmHWM).
double peakResidentMb();

// Writes an EDF+ file of `hours` hours at `path` with edflib: 64 EEG channels at 512 Hz in
// one-second records, a note of 30 s every 30 s (edf_day_bench.cpp). Returns `path`.
std::string writeEdfDay(const std::string& path, int hours);

} // namespace bench
