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

// An EEG line has no polygraphic input (of an own montage's line: no polygraphic term).
bool isEegLine(const Recording& rec, int line);

// A value line has an input of electrode 173 or 175; it shows numbers instead of a trace.
bool isValueLine(const MontageRecord& m, int line);

// "negative positive" of a polygraphic inputA, "positive negative" of a polygraphic inputB,
// else "positive-of-inputB positive-of-inputA"; labels up to their NUL, 8-bit text as stored.
std::string lineLabel(const Recording& rec, int line);

// The label of line `line` as shown, in UTF-8: an own montage's line label, else lineLabel.
std::string lineLabelText(const Recording& rec, int line);

// The name of the montage in force, in UTF-8: an own montage's name, else the description.
std::string montageName(const Recording& rec);

// Name of reference mode `refMode` ("G2", "AVG", "A1+A2", "SRC"), or null for other values.
const char* referenceName(uint8_t refMode);

// Among lines 0 .. n - 2 that are `candidate`, the one with the most later lines that are
// `counted` and `alike` to it; the earliest on ties, 0 when no line has a later match.
template <typename Candidate, typename Counted, typename Alike>
int mostRepeatedLine(int n, Candidate candidate, Counted counted, Alike alike) {
    int winner = 0;
    int best = 0;
    for (int i = 0; i + 1 < n; ++i) {
        if (!candidate(i)) {
            continue;
        }
        int count = 0;
        for (int j = i + 1; j < n; ++j) {
            count += counted(j) && alike(i, j) ? 1 : 0;
        }
        if (count > best) {
            best = count;
            winner = i;
        }
    }
    return winner;
}

// For each line, true when it is an EEG line whose high-pass, low-pass or gain differs from
// the prevailing line (the EEG line with most later lines of the same three settings).
std::vector<bool> linesOffPrevailingSettings(const Recording& rec);

} // namespace viewer
