#pragma once
// Where the samples of a line land on the page: line scaling and pixel positions.

#include "derivation_record.h"

#include <cstdint>

namespace viewer {

// Pixels per centimetre of a display `verticalPixels` tall, taken as 200 mm.
double pixelsPerCm(int verticalPixels);

// K, the pixels per digital step of a line: its microvolts per step times pixels per
// centimetre over its gain in microvolts per centimetre. 0 (the line lies on its row
// centre) for a gain of 0, an empty calibration or a result that is not finite.
double pixelsPerStep(const DerivationRecord& r, int32_t gain, double pixelsPerCm);

// x of sample `l` of `samples` spread over `traceWidth` pixels right of `labelWidth`,
// computed in 64 bits. `samples` must not be 0.
int32_t sampleX(int32_t labelWidth, uint32_t l, int32_t traceWidth, uint32_t samples);

// y of `value` scaled by `k` on the row centred at `rowCentre`: positive values above it.
// Kept within the 16-bit range.
int32_t traceY(int32_t rowCentre, float value, double k);

} // namespace viewer
