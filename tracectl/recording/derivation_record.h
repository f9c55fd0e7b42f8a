#pragma once
// How one montage line is derived from the recorded channels.

#include <cstdint>

namespace viewer {

// Kinds of line: which inputs the line has, or that it cannot be shown.
enum LineKind : uint8_t {
    kNoInput = 0,
    kInputAOnly = 2,
    kInputBOnly = 4,
    kBothInputs = 6,
    kUnavailable = 10, // an input electrode is not acquired in this recording
    kWeighted = 12,    // a weighted sum of electrodes (Recording::weighted), own montages only
};

struct DerivationRecord {
    int16_t channelA = 0; // position of inputA in the sample frame
    int16_t channelB = 0; // position of inputB in the sample frame
    uint8_t kind = kNoInput;
    // Calibration of inputB when the line has one, else of inputA.
    int32_t physicalMax = 0;
    int32_t physicalMin = 0;
    int32_t logicMax = 0;
    int32_t logicMin = 0;
    int32_t logicGround = 0;
    int16_t unit = 0;
    double stepUv = 0.0;         // exact microvolts per step when not 0 (EDF files)
    double groundFraction = 0.0; // the zero level's part beyond logicGround (EDF files)
};

} // namespace viewer
