#pragma once
// Re-referencing the frames of a loaded page: the average reference and the ear reference.

#include "recording.h"

#include <cstdint>

namespace viewer {

// Re-references the first `frames` frames of the page buffer according to the current
// montage's refMode: 1 the average reference, 2 the ear reference, other modes nothing.
void applyReference(Recording& rec, uint32_t frames);

// Average reference. Per frame: the mean (truncated) of the EEG channels not excluded from
// the average, less the zero level of the first EEG channel, is subtracted from every EEG
// channel, and the result limited to that channel's logic range. Sums are 64-bit.
// Nothing changes when no EEG channel takes part. Polygraphic channels, and channels whose
// electrode code is 640 or more, are left as they are.
void averageReference(Recording& rec, uint32_t frames);

// Ear reference ("A1+A2"). Per frame: half the sum of the ear electrodes (codes 23 and 22),
// summed in 64 bits and rounded toward minus infinity, less electrode 0's zero level, is
// subtracted from every EEG channel; a result below min(0, logicMin of the channel's
// electrode) becomes that floor, and results stay inside the 32-bit range. Signed
// recordings (zero level 0) thus keep the values on both sides of zero; unsigned ones
// (logicMin 0) floor at 0. Nothing changes unless both ear electrodes are among the EEG
// channels.
void earReference(Recording& rec, uint32_t frames);

} // namespace viewer
