#pragma once
// Puts a montage definition in force on a recording: its lines matched to the recording's
// electrodes by name, the page's gain and filters where a line has none of its own.

#include "montage_definition.h"
#include "recording.h"

#include <cstdint>
#include <string>
#include <vector>

namespace viewer {

// The gain and filters of the page, which lines without settings of their own follow.
struct PageSettings {
    int32_t gain = 70;       // µV/cm
    uint32_t highPass = 530; // thousandths of a hertz
    uint32_t lowPass = 7000; // hundredths of a hertz
    uint8_t notch = 0;       // 0 off, 1 = 50 Hz, 2 = 60 Hz
};

// The settings of the montage in force: the gain most EEG lines share, the prevailing
// filters, the notch. Whatever the montage cannot say (no lines, no EEG line) comes from
// `fallback`.
PageSettings pageSettingsOf(const Recording& rec, const PageSettings& fallback);

// Names of the recording's EEG electrodes (not polygraphic, acquired), in channel order.
std::vector<std::string> eegElectrodeNames(const Recording& rec);
// Names of every acquired electrode of the recording's channels: the EEG electrodes, then
// the polygraphic ones, each in channel order.
std::vector<std::string> electrodeNames(const Recording& rec);

// Makes `def` the montage in force (rec.own and currentMontage; derivations are not
// rebuilt): one line per line not hidden, at most 128; terms matched to the recording's
// channels by electrodeKey (a name it lacks leaves the line not present); inverted lines
// with every weight negated; gain, high-pass, low-pass and notch the line's own where it has
// them, else `page`'s. The page length stays; the reference mode becomes 0.
void applyOwnMontage(Recording& rec, const MontageDefinition& def, const PageSettings& page);

} // namespace viewer
