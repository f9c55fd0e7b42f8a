#pragma once
// The parts of the recording writer that lay out the four older header generations.

#include "recording_writer.h"

#include <map>
#include <vector>

namespace viewer::testing::detail {

using Bytes = std::vector<uint8_t>;

// The 6144-byte header of generations 0 and 1, which holds the whole description.
Bytes headerType01(const RecordingDescription& d);

// The areas of generations 2 and 3.
std::map<Area, Bytes> areasType23(const RecordingDescription& d);

void putChars(uint8_t* dst, const std::string& s, size_t width, char pad);

// The segment area, the same in generations 2 to 4.
Bytes segmentsArea(const RecordingDescription& d);

// The MONTAGE area (30 records) and, when the description has one, the HISTORY area, with
// montage records of `recordSize` bytes from `encode`.
using MontageEncoder = std::vector<uint8_t> (*)(const MontageRecord&);
void addMontageAreas(std::map<Area, Bytes>& areas, const RecordingDescription& d,
                     MontageEncoder encode, size_t recordSize);

} // namespace viewer::testing::detail
