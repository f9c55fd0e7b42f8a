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

} // namespace bench
