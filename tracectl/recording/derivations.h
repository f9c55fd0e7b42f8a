#pragma once
// From montage lines to values: the derivation record of each line, the value of a line in
// one frame of the page, and the microvolts of one digital step of a line.

#include "recording.h"

#include <cstdint>

namespace viewer {

// Rebuilds rec.derivations from the current montage (only with a file open). Channel
// codes of 640 or more in the channel order are not placed; a line with such an input, or
// with an input whose electrode is not acquired, is unavailable (kUnavailable). Records
// past numLines are cleared. With an own montage in force each line comes from its terms:
// a single electrode of weight 1 or -1, or two of weights 1 and -1 and one calibration, as
// the recorded kinds 2, 4 and 6; anything else a weighted sum (kWeighted, rec.weighted) in
// steps of its first electrode's calibration; unavailable when an electrode is missing.
void buildDerivationRecords(Recording& rec);

// Value of weighted line `w` in one page frame, with `shared` the frame's shared sum.
inline double weightedValue(const WeightedDerivation& w, const int32_t* frame, double shared) {
    double v = w.offset + (w.shared ? shared : 0.0);
    for (size_t k = 0; k < w.channels.size(); ++k) {
        v += w.weights[k] * frame[w.channels[k]];
    }
    return v;
}

// Value of a line in one page frame (`frame` points at its first channel): inputA less its
// zero level, the zero level less inputB, or inputA less inputB. 0 for lines without input
// and for unavailable lines. Computed in 64 bits, so no pair of 32-bit samples overflows.
inline int64_t lineValue(const DerivationRecord& r, const int32_t* frame) {
    switch (r.kind) {
    case kInputAOnly:
        return static_cast<int64_t>(frame[r.channelA]) - r.logicGround;
    case kInputBOnly:
        return static_cast<int64_t>(r.logicGround) - frame[r.channelB];
    case kBothInputs:
        return static_cast<int64_t>(frame[r.channelA]) - frame[r.channelB];
    default:
        return 0;
    }
}

// What the zero level's fraction of a step adds to lineValue (files with real-numbered
// calibrations; 0 for every trace file): -fraction for inputA alone, +fraction for inputB.
inline double lineValueFraction(const DerivationRecord& r) {
    return r.kind == kInputAOnly ? -r.groundFraction
                                 : (r.kind == kInputBOnly ? r.groundFraction : 0.0);
}

// Microvolts per digital step of a line: stepUv when the file gives it exactly, else
// (physicalMax - physicalMin) x unit factor / (logicMax - logicMin + 1), the factor 1000 for
// mV, 1e6 for V, 0.001 for nV, 1 otherwise. 0 when the logic range spans no steps.
double lineScale(const DerivationRecord& r);

} // namespace viewer
