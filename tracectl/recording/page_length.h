#pragma once
// The page length of the current montage and the frames per page that follow from it.

#include "recording.h"

#include <cstdint>

namespace viewer {

// Most frames one page may hold: the page buffer's values over the channels of a frame;
// 0 while the recording has no channels.
uint32_t framesThatFit(const Recording& rec);

// Sets pageMs of the current montage to `ms` and samplesPerPage to rate x pageMs / 1000.
// A negative length becomes 0; a length whose frames would not fit in the page buffer is
// shortened to the longest that does.
void applyPageMs(Recording& rec, int64_t ms);

// The page length asked for in seconds: capped by maxPageMs (taken as unsigned), negative
// or NaN lengths give 0, then applied as applyPageMs does. Returns the length in force, in
// seconds.
float applyPageSeconds(Recording& rec, float seconds);

} // namespace viewer
