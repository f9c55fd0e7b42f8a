#pragma once
// Reading one page of an EDF or BDF file into the page buffer: the data records the page
// spans, each signal's samples put on the frames of the drawn rate.

#include "recording.h"

#include <cstdint>

namespace viewer {

// Fills the page buffer of the open EDF recording with `count` frames from frame `first`
// (count limited to the frames the buffer holds), as LoadPage does for a trace file: digital
// values as stored, a signal of another rate than the frames held on the frame its sample
// covers, then re-referenced. Frames past the end read as each signal's zero level. Returns
// true when the whole page lies in the file; a page starting at or past the end returns
// false and leaves the buffer as it was.
bool loadEdfPage(Recording& rec, uint32_t first, uint32_t count);

} // namespace viewer
