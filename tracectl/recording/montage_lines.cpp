#include "montage_lines.h"

#include "text.h"

#include <algorithm>

namespace viewer {

const ElectrodeRecord& electrodeOf(const Recording& rec, uint16_t code) {
    static const ElectrodeRecord kNone{};
    return code < kElectrodeCount ? rec.electrodes[code] : kNone;
}

bool isEegLine(const Recording& rec, int line) {
    if (rec.own.inForce && line >= 0 && static_cast<size_t>(line) < rec.own.lines.size()) {
        return !rec.own.lines[static_cast<size_t>(line)].polygraphic;
    }
    const MontageRecord& m = rec.currentMontage;
    return !electrodeOf(rec, m.inputA[line]).polygraphic() &&
           !electrodeOf(rec, m.inputB[line]).polygraphic();
}

bool isValueLine(const MontageRecord& m, int line) {
    auto value = [](uint16_t code) { return code == 173 || code == 175; };
    return value(m.inputA[line]) || value(m.inputB[line]);
}

std::string lineLabel(const Recording& rec, int line) {
    auto label = [](const std::array<char, 6>& field) {
        return std::string(fieldText(field.data(), field.size()));
    };
    const MontageRecord& m = rec.currentMontage;
    const ElectrodeRecord& a = electrodeOf(rec, m.inputA[line]);
    const ElectrodeRecord& b = electrodeOf(rec, m.inputB[line]);
    if (a.polygraphic()) {
        return label(a.negativeLabel) + " " + label(a.positiveLabel);
    }
    if (b.polygraphic()) {
        return label(b.positiveLabel) + " " + label(b.negativeLabel);
    }
    return label(b.positiveLabel) + " " + label(a.positiveLabel);
}

std::string lineLabelText(const Recording& rec, int line) {
    if (rec.own.inForce && line >= 0 && static_cast<size_t>(line) < rec.own.lines.size()) {
        return rec.own.lines[static_cast<size_t>(line)].label;
    }
    return windows1252ToUtf8(lineLabel(rec, line));
}

std::string montageName(const Recording& rec) {
    const auto& d = rec.currentMontage.description;
    return rec.own.inForce ? rec.own.name : windows1252ToUtf8(fieldText(d.data(), d.size()));
}

const char* referenceName(uint8_t refMode) {
    static constexpr const char* kNames[] = {"G2", "AVG", "A1+A2", "SRC"};
    return refMode < 4 ? kNames[refMode] : nullptr;
}

std::vector<bool> linesOffPrevailingSettings(const Recording& rec) {
    const MontageRecord& m = rec.currentMontage;
    const int n = std::min<int>(m.numLines, kMaxLines);
    auto same = [&m](int i, int j) {
        return m.highPass[i] == m.highPass[j] && m.lowPass[i] == m.lowPass[j] &&
               m.gain[i] == m.gain[j];
    };
    const int reference = mostRepeatedLine(
        n, [&rec](int i) { return isEegLine(rec, i); }, [](int) { return true; }, same);
    std::vector<bool> off(n, false);
    for (int i = 0; i < n; ++i) {
        off[i] = isEegLine(rec, i) && !same(i, reference);
    }
    return off;
}

} // namespace viewer
