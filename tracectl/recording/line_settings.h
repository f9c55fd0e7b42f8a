#pragma once
// Gain and filter settings of the montage lines as the host changes and reads them: which
// lines a new value goes to, and the one value the host shows for all of them. A line of an
// own montage that keeps its own gain or filter is passed over by each of them.

#include "recording.h"

#include <cstdint>
#include <optional>
#include <span>

namespace viewer {

enum class FilterSetting { HighPass, LowPass };

// The electrode whose acquisition decides whether EEG settings apply: line i's inputA if
// not 0, else its inputB if not 0, else the one examined for line i - 1. None when no line
// up to i has an input.
std::optional<uint16_t> examinedElectrode(const MontageRecord& m, int line);

// Moves every line's gain one step along `steps`, an ascending list that a -1 ends (or its
// end, when the -1 is missing): up to the first value above the gain, or down to the last
// value below it, compared as unsigned 32-bit numbers. All or nothing: false, with no gain
// changed, when some line has no such value.
bool stepGains(Recording& rec, std::span<const int32_t> steps, bool up);

// Sets `gain` on the selected lines; with none selected on every EEG line and every line
// with an input of electrode 174.
void setEegGain(Recording& rec, int32_t gain);

// The gain every EEG line shares; -1 with no EEG line or when they differ.
int32_t eegGain(const Recording& rec);

// Sets a filter value on the selected lines; with none selected on every EEG line when some
// EEG line's examined electrode is acquired, else on every polygraphic line.
void setEegFilter(Recording& rec, FilterSetting which, uint32_t value);

// The filter value the host shows: the most common among the EEG lines (the earliest line
// on ties, line 0 when no value repeats) when some EEG line's examined electrode is
// acquired; else the value of the last polygraphic line whose examined electrode is
// acquired, when every polygraphic line has it; else -1.
int32_t prevailingFilter(const Recording& rec, FilterSetting which);

// Clears every line's selection.
void deselectAll(MontageRecord& m);

} // namespace viewer
