#pragma once
// Fixed tables of the oldest header generations (0 and 1): the built-in label table, the
// label index of each electrode code and the translation of old channel codes.

#include <array>
#include <cstdint>

namespace viewer::legacy {

// One label-table entry: five characters blank-padded and a NUL, and a range word whose
// low 14 bits are the range and whose top two bits are the unit code.
struct LabelEntry {
    std::array<char, 6> label{};
    uint16_t range = 0;
};

// The 64-entry label table that generation 0 carries in its reader.
const std::array<LabelEntry, 64>& builtInLabelTable();

// Index into the label table of the positive label of electrode `code` (0..63, 160..186),
// for header type 0 or 1; -1 for codes that take no label from the table.
int labelIndex(int code, uint8_t headerType);

// Electrode code of old channel code `f` in a file of header type 0 or 1. Keys beyond the
// translation table give 255.
uint16_t translateOldCode(uint16_t f, uint8_t headerType);

} // namespace viewer::legacy
