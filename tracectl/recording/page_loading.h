#pragma once
// Reading one page of sample frames from the trace file into the page buffer.

#include "recording.h"

#include <cstdint>

namespace viewer {

// Fills the page buffer with `count` frames from frame `first`: read, widened to signed
// 32 bits (1- and 2-byte samples taken unsigned) and re-referenced by the current
// montage's refMode. `count` is limited to the frames the buffer holds.
// Returns true when the whole page lies in the file, ending at its end at the latest. A
// page that reaches past the end reads the missing frames as electrode 0's zero level and
// returns false; a page that starts at or past the end returns false and leaves the buffer
// as it was. False too with no file open or no buffer.
bool LoadPage(Recording& rec, uint32_t first, uint32_t count);

} // namespace viewer
