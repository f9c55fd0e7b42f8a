#pragma once
// One reader per header generation. Each reads the open file of `rec` and fills the
// header and tables of the newest generation's form; false when the file is unusable.

#include "recording.h"

namespace viewer {

bool readType4(Recording& rec);

// Generations 0 to 3.
bool readLegacy(Recording& rec, uint8_t headerType);
bool readType01(Recording& rec, uint8_t headerType);
bool readType23(Recording& rec, uint8_t headerType);

// Frame of a note stored in whole seconds, kept within the 32-bit note field.
int32_t frameOfSecond(int64_t seconds, uint16_t rate);

// Reads the area `a` of the header into `dst`, at most `capacity` bytes of it; what the
// file does not hold is left as it was. Returns the number of bytes read.
size_t readArea(const Recording& rec, Area a, uint8_t* dst, size_t capacity);

} // namespace viewer
