#include "edf_signal_kinds.h"

#include "electrode_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <limits>

namespace viewer {

namespace {

constexpr std::array<std::string_view, 14> kPolygraphicTypes = {
    "ECG",   "EKG",  "EOG", "EMG", "RESP", "SAO2",  "SPO2",
    "PLETH", "TEMP", "POL", "PNG", "HR",   "PULSE", "MISC"};

// The label's first word in capitals (up to a blank or a hyphen).
std::string typeWord(std::string_view label) {
    const size_t end = label.find_first_of(" -");
    return upperCase(label.substr(0, end));
}

int32_t clampedI32(double v) {
    return static_cast<int32_t>(std::clamp<double>(std::round(v), -2147483647.0, 2147483647.0));
}

// Physical ends in whole units: the finest of nV, uV, mV, V whose values fit 32 bits.
void wholePhysicalEnds(const EdfSignal& s, ElectrodeRecord& e) {
    const double uv = microvoltsPerUnit(s.dimension);
    const double factor = uv > 0 ? uv : 1.0;
    const double lo = s.physicalMin * factor;
    const double hi = s.physicalMax * factor;
    constexpr std::array<std::pair<int16_t, double>, 4> kUnits = {
        {{-1, 1000.0}, {0, 1.0}, {1, 0.001}, {2, 0.000001}}};
    for (const auto& [unit, perUv] : kUnits) {
        if (std::max(std::abs(lo), std::abs(hi)) * perUv < 2e9 || unit == 2) {
            e.unit = unit;
            e.physicalMin = clampedI32(lo * perUv);
            e.physicalMax = clampedI32(hi * perUv);
            return;
        }
    }
}

void copyLabel(std::array<char, 6>& field, std::string_view text) {
    field.fill('\0');
    std::memcpy(field.data(), text.data(), std::min(text.size(), field.size()));
}

} // namespace

double microvoltsPerUnit(std::string_view d) {
    if (d == "uV" || d == "UV" || d == "uv" || d == "\xc2\xb5V" || d == "\xb5V") {
        return 1.0;
    }
    if (d == "mV" || d == "mv") {
        return 1000.0;
    }
    if (d == "V" || d == "v") {
        return 1000000.0;
    }
    if (d == "nV" || d == "nv") {
        return 0.001;
    }
    return 0.0;
}

bool isEegSignal(const EdfSignal& s) {
    const std::string type = typeWord(s.label);
    if (type == "EEG") {
        return true;
    }
    for (std::string_view t : kPolygraphicTypes) {
        if (type.compare(0, t.size(), t) == 0) {
            return false;
        }
    }
    return microvoltsPerUnit(s.dimension) > 0;
}

std::string shortLabel(const EdfSignal& s) {
    std::string_view label = s.label;
    if (isEegSignal(s)) {
        std::string key = electrodeKey(label);
        // electrodeKey gives the new names of T3 .. T6; the recording's own spelling is kept.
        static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kOld = {
            {{"T7", "T3"}, {"T8", "T4"}, {"P7", "T5"}, {"P8", "T6"}}};
        for (const auto& [newer, older] : kOld) {
            if (key == newer && upperCase(label).find(older) != std::string::npos &&
                upperCase(label).find(newer) == std::string::npos) {
                key = older;
            }
        }
        return key.substr(0, 6);
    }
    const size_t blank = label.find(' ');
    if (blank != std::string_view::npos && blank + 1 < label.size()) {
        label.remove_prefix(blank + 1);
    }
    return std::string(label.substr(0, 6));
}

ElectrodeRecord electrodeFor(const EdfSignal& s) {
    ElectrodeRecord e;
    e.status = 1;
    e.electrodeType = isEegSignal(s) ? 0 : 1;
    copyLabel(e.positiveLabel, shortLabel(s));
    e.logicMin = s.digitalMin;
    e.logicMax = s.digitalMax;
    const double perStep =
        (s.physicalMax - s.physicalMin) / (static_cast<double>(s.digitalMax) - s.digitalMin);
    const double uv = microvoltsPerUnit(s.dimension);
    e.stepUv = perStep * (uv > 0 ? uv : 1.0);
    const double ground = s.digitalMin - s.physicalMin / perStep;
    const double whole = std::isfinite(ground) ? std::round(ground) : 0.0;
    e.logicGround = clampedI32(whole);
    e.groundFraction = std::isfinite(ground) ? ground - e.logicGround : 0.0;
    wholePhysicalEnds(s, e);
    return e;
}

} // namespace viewer
