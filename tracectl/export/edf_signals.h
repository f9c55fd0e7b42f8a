#pragma once
// How each recorded channel becomes one EDF+ or BDF+ signal: its label, unit, physical and
// digital ranges, the mapping of its raw values onto the file's digital values, and the
// prefiltering text.

#include "records.h"

#include <cstdint>
#include <string>

namespace viewer::edf {

// 16-bit samples (EDF+) or 24-bit samples (BDF+).
enum class SampleFormat { Edf16, Bdf24 };

struct SignalPlan {
    std::string label;     // EDF+ convention: type, blank, electrode ("EEG Fp1", "ECG ECG1+")
    std::string dimension; // "uV", "mV", ...
    double physicalMin = 0;
    double physicalMax = 0;
    int32_t digitalMin = 0;
    int32_t digitalMax = 0;
    // A raw value v is first limited to logicLo..logicHi, then written as
    // ((v - logicLo) >> shift) + digitalMin.
    int32_t logicLo = 0;
    int32_t logicHi = 0;
    int shift = 0;
    std::string prefilter;

    // The digital value written for raw value `v`.
    int32_t digital(int32_t v) const {
        const int32_t limited = v < logicLo ? logicLo : (v > logicHi ? logicHi : v);
        return static_cast<int32_t>((static_cast<int64_t>(limited) - logicLo) >> shift) +
               digitalMin;
    }
};

// The signal for the electrode record `e` of electrode code `code`. Logic ranges that fit
// the format's digital range keep their values; wider ones are moved to start at the
// lowest digital value and, when still too wide, divided by the smallest power of two that
// makes them fit (only 4-byte ranges wider than 24 bits need it). A reversed range is put
// in order with its physical ends; a range without width, or physical ends that are equal,
// are widened by one step so that the file stays valid. Unknown unit codes are microvolts,
// as the display takes them; physical ends too long for the header's eight characters are
// given in a larger unit.
SignalPlan planSignal(const ElectrodeRecord& e, int code, SampleFormat format);

// The EDF+ label of electrode `e` (code `code`): "EEG " and the positive label for EEG
// inputs; for polygraphic inputs the type named by the label's start (ECG, EOG, EMG, Resp,
// SaO2, Temp), "POL" otherwise. An empty label becomes "E" and the code. At most 16
// ASCII characters.
std::string signalLabel(const ElectrodeRecord& e, int code);

// The prefiltering text of electrode code `code` under montage `m` ("HP:0.53Hz LP:70Hz
// N:50Hz"), from the first line that names the electrode; empty when no line names it.
// A low-pass at or above half the sampling `rate` filters nothing and is left out, as is a
// high-pass of 0.
std::string prefilterText(const MontageRecord& m, uint16_t code, uint16_t rate);

} // namespace viewer::edf
