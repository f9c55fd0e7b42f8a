#include "edf_signals.h"

#include "ascii_text.h"
#include "text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <limits>
#include <string_view>
#include <utility>

namespace viewer::edf {

namespace {

constexpr std::array<const char*, 6> kUnits = {"nV", "uV", "mV", "V", "kV", "MV"};

// Index into kUnits of a recording unit code: -1 nV, 0 uV, 1 mV, 2 V, anything else uV.
int unitIndex(int16_t unit) { return unit >= -1 && unit <= 2 ? unit + 1 : 1; }

// A physical value fits the header's eight characters when its whole part does.
bool fitsHeader(double v) { return v > -9999999.5 && v < 99999999.5; }

std::string trimmedLabel(const std::array<char, 6>& field) {
    return asciiFromWindows1252(trimRight(fieldText(field.data(), field.size())));
}

bool startsWith(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) {
        return false;
    }
    return std::equal(prefix.begin(), prefix.end(), s.begin(), [](char a, char b) {
        return std::toupper(static_cast<unsigned char>(a)) == b;
    });
}

const char* polygraphicType(std::string_view label) {
    static constexpr std::array<std::pair<const char*, const char*>, 9> kTypes = {{
        {"ECG", "ECG"},
        {"EKG", "ECG"},
        {"EOG", "EOG"},
        {"EMG", "EMG"},
        {"PNG", "Resp"},
        {"RESP", "Resp"},
        {"SAO2", "SaO2"},
        {"SPO2", "SaO2"},
        {"TEMP", "Temp"},
    }};
    for (const auto& [prefix, type] : kTypes) {
        if (startsWith(label, prefix)) {
            return type;
        }
    }
    return "POL";
}

std::string hertz(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%gHz", value);
    return text;
}

} // namespace

std::string signalLabel(const ElectrodeRecord& e, int code) {
    std::string label = trimmedLabel(e.positiveLabel);
    if (label.empty()) {
        char text[16];
        std::snprintf(text, sizeof text, "E%d", code);
        label = text;
    }
    const std::string type = e.polygraphic() ? polygraphicType(label) : "EEG";
    return (type + " " + label).substr(0, 16);
}

SignalPlan planSignal(const ElectrodeRecord& e, int code, SampleFormat format) {
    SignalPlan p;
    p.label = signalLabel(e, code);
    int64_t lo = e.logicMin;
    int64_t hi = e.logicMax;
    double physLo = e.physicalMin;
    double physHi = e.physicalMax;
    if (lo > hi) {
        std::swap(lo, hi);
        std::swap(physLo, physHi);
    }
    if (lo == hi) {
        lo == std::numeric_limits<int32_t>::max() ? --lo : ++hi;
    }
    if (physLo == physHi) {
        physHi = physLo + 1;
    }
    const int64_t targetMin = format == SampleFormat::Edf16 ? -32768 : -8388608;
    const int64_t targetMax = format == SampleFormat::Edf16 ? 32767 : 8388607;
    while (((hi - lo) >> p.shift) > targetMax - targetMin) {
        ++p.shift;
    }
    const bool fits = p.shift == 0 && lo >= targetMin && hi <= targetMax;
    p.logicLo = static_cast<int32_t>(lo);
    p.logicHi = static_cast<int32_t>(hi);
    p.digitalMin = static_cast<int32_t>(fits ? lo : targetMin);
    p.digitalMax = p.digital(p.logicHi);

    int unit = unitIndex(e.unit);
    while (unit + 1 < static_cast<int>(kUnits.size()) &&
           (!fitsHeader(physLo) || !fitsHeader(physHi))) {
        physLo /= 1000;
        physHi /= 1000;
        ++unit;
    }
    p.physicalMin = physLo;
    p.physicalMax = physHi;
    p.dimension = kUnits[unit];
    return p;
}

std::string prefilterText(const MontageRecord& m, uint16_t code, uint16_t rate) {
    if (code == 0) {
        return {}; // input 0 stands for "no electrode" in montage lines
    }
    const int lines = std::min<int>(m.numLines, kMaxLines);
    for (int i = 0; i < lines; ++i) {
        if (m.inputA[i] != code && m.inputB[i] != code) {
            continue;
        }
        std::string text;
        if (m.highPass[i] > 0) {
            text += "HP:" + hertz(m.highPass[i] / 1000.0) + " ";
        }
        if (m.lowPass[i] > 0 && m.lowPass[i] < static_cast<uint32_t>(rate) * 50) {
            text += "LP:" + hertz(m.lowPass[i] / 100.0) + " ";
        }
        if (m.notch == 1 || m.notch == 2) {
            text += m.notch == 1 ? "N:50Hz " : "N:60Hz ";
        }
        return std::string(trimRight(text));
    }
    return {};
}

} // namespace viewer::edf
