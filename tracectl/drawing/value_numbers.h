#pragma once
// The numbers a value line shows instead of a trace.

#include "records.h"

#include <cstdint>

namespace viewer {

// The physical value of digital `raw` of electrode `e`, as the value lines have always shown
// it: 32-bit arithmetic, unsigned division, the low 16 bits read unsigned. 0 when the
// electrode's digital range is empty.
uint16_t valueLineNumber(const ElectrodeRecord& e, int32_t raw);

} // namespace viewer
