#pragma once
// The lines of a montage defined outside the recording (a standard montage or one of the
// user's): each a label and a weighted sum of electrodes, with its own colour and, where the
// line keeps them, its own gain, filters and notch. The recording's montage record still
// carries every line's gain, filters and selection; these are what the record cannot say.

#include "records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace viewer {

// An electrode code that names no electrode of the recording.
constexpr uint16_t kMissingElectrode = 0xFFFF;

struct OwnTerm {
    uint16_t code = kMissingElectrode; // electrode code in the recording
    double weight = 0.0;
};

// Bits of OwnLine::keeps: settings the line keeps against the page's.
enum OwnSetting : uint8_t {
    kOwnGain = 1,
    kOwnHighPass = 2,
    kOwnLowPass = 4,
    kOwnNotch = 8,
};

struct OwnLine {
    std::string label; // UTF-8
    std::vector<OwnTerm> terms;
    std::optional<uint32_t> rgb; // 0xRRGGBB; none: the montage record's palette colour
    uint8_t keeps = 0;           // OwnSetting bits
    uint8_t notch = 0;           // the line's notch when it keeps one (0, 1 = 50 Hz, 2 = 60 Hz)
    bool polygraphic = false;    // a term is a polygraphic electrode: not an EEG line
};

struct OwnMontage {
    bool inForce = false;
    std::string name; // UTF-8
    std::vector<OwnLine> lines;
};

// A line evaluated as a weighted sum: sum of weight x sample over its terms, plus `offset`,
// plus the montage's shared sum when `shared`. Weights are in digital steps of the line's
// calibration electrode; `offset` takes the electrodes' zero levels away.
struct WeightedDerivation {
    std::vector<int16_t> channels;
    std::vector<double> weights;
    double offset = 0.0;
    bool shared = false;
};

struct WeightedLines {
    // A sum many lines share (the mean of a common reference), computed once per frame.
    std::vector<int16_t> sharedChannels;
    std::vector<double> sharedWeights;
    std::vector<WeightedDerivation> lines; // one per montage line; empty when none is weighted
};

// True when line `line` of an own montage in force keeps setting `s` itself.
inline bool keepsOwn(const OwnMontage& own, int line, OwnSetting s) {
    return own.inForce && line >= 0 && static_cast<size_t>(line) < own.lines.size() &&
           (own.lines[static_cast<size_t>(line)].keeps & s) != 0;
}

} // namespace viewer
