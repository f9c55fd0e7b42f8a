#pragma once
// What the display needs to know about the lines of the current montage: which are EEG
// lines, what their labels say, and which depart from the prevailing settings.

#include "recording.h"

#include <string>
#include <vector>

namespace viewer {

// The electrode record of `code`; an empty record (not acquired, EEG) for codes beyond
// the table.
const ElectrodeRecord& electrodeOf(const Recording& rec, uint16_t code);

// An EEG line has no polygraphic input.
bool isEegLine(const Recording& rec, int line);

// A value line has an input of electrode 173 or 175; it shows numbers instead of a trace.
bool isValueLine(const MontageRecord& m, int line);

// "negative positive" of a polygraphic inputA, "positive negative" of a polygraphic inputB,
// else "positive-of-inputB positive-of-inputA"; labels up to their NUL, 8-bit text as stored.
std::string lineLabel(const Recording& rec, int line);

// Name of reference mode `refMode` ("G2", "AVG", "A1+A2", "SRC"), or null for other values.
const char* referenceName(uint8_t refMode);

// For each line, true when it is an EEG line whose high-pass, low-pass or gain differs from
// the prevailing line (the EEG line with most later lines of the same three settings).
std::vector<bool> linesOffPrevailingSettings(const Recording& rec);

} // namespace viewer
