#pragma once
// Montage records of header generation 3: 3072 bytes, one-byte inputs, the page length in
// seconds, converted into the current montage when loaded.

#include "recording.h"

#include <cstdint>

namespace viewer {

constexpr size_t kType3MontageSize = 3072;

// Makes the 3072-byte record at `bytes` the current montage: lines (at most 128), notch,
// selection, name, inputs, filters, gains and reference mode as stored; palette indexes
// from the stored colour codes; the page length in seconds, capped by maxPageMs (taken as
// unsigned); samplesPerPage follows, within the page buffer.
void convertType3Montage(Recording& rec, const uint8_t* bytes);

} // namespace viewer
