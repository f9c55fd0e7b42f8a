#pragma once
// The continuous stretches of a recording: cut segments make the clock jump, and an EDF+
// file written by edflib must run without a jump, so each stretch becomes a file of its own.
// Also: turning the times a user types into frames of the file.

#include "recording.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace viewer::edf {

struct Stretch {
    int64_t first = 0;       // first frame of the file in the stretch
    int64_t end = 0;         // frame after the last
    uint32_t uncutFirst = 0; // frame of the uncut recording at `first`
};

// Frames of the file that can be exported: totalSamples, at most 2^32 - 1 (frame numbers
// of the recording are 32-bit).
int64_t exportableFrames(const Recording& rec);

// The stretches of frames first..end - 1 (limited to the exportable frames) within which
// the clock runs on without a jump, in file order, as the recording's segment table maps
// frames to the uncut recording. Empty when the range holds no frame.
std::vector<Stretch> continuousStretches(const Recording& rec, int64_t first, int64_t end);

// The frame of the file that `text` names: a clock time "HH:MM:SS" (or "HH:MM") names the
// first frame recorded at or after that time of day, counted from the recording's start and
// across midnight; a number names elapsed seconds from the start of the file (fractions
// allowed). The result lies in 0..exportableFrames. Empty when `text` is neither.
std::optional<int64_t> frameAtTime(const Recording& rec, std::string_view text);

} // namespace viewer::edf
