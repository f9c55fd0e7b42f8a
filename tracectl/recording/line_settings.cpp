#include "line_settings.h"

#include "montage_lines.h"

#include <algorithm>
#include <vector>

namespace viewer {

namespace {

int lineCount(const MontageRecord& m) { return std::min<int>(m.numLines, kMaxLines); }

bool anySelected(const MontageRecord& m) {
    const int n = lineCount(m);
    return std::any_of(m.selected.begin(), m.selected.begin() + n, [](uint8_t s) { return s; });
}

bool hasInput(const MontageRecord& m, int line, uint16_t code) {
    return m.inputA[line] == code || m.inputB[line] == code;
}

bool examinedAcquired(const Recording& rec, int line) {
    const std::optional<uint16_t> code = examinedElectrode(rec.currentMontage, line);
    return code && electrodeOf(rec, *code).status == 1;
}

OwnSetting ownBit(FilterSetting which) {
    return which == FilterSetting::HighPass ? kOwnHighPass : kOwnLowPass;
}

std::array<uint32_t, kMaxLines>& filterValues(MontageRecord& m, FilterSetting which) {
    return which == FilterSetting::HighPass ? m.highPass : m.lowPass;
}

const std::array<uint32_t, kMaxLines>& filterValues(const MontageRecord& m, FilterSetting which) {
    return which == FilterSetting::HighPass ? m.highPass : m.lowPass;
}

// The next value of `steps` after `gain` (up) or before it (down), before the -1.
std::optional<int32_t> neighbour(std::span<const int32_t> steps, int32_t gain, bool up) {
    const auto g = static_cast<uint32_t>(gain);
    std::optional<int32_t> found;
    for (int32_t step : steps) {
        if (step == -1) {
            break;
        }
        const auto s = static_cast<uint32_t>(step);
        if (up && s > g) {
            return step;
        }
        if (!up && s < g) {
            found = step;
        }
    }
    return found;
}

} // namespace

std::optional<uint16_t> examinedElectrode(const MontageRecord& m, int line) {
    for (int i = std::min(line, kMaxLines - 1); i >= 0; --i) {
        if (m.inputA[i] != 0) {
            return m.inputA[i];
        }
        if (m.inputB[i] != 0) {
            return m.inputB[i];
        }
    }
    return std::nullopt;
}

bool stepGains(Recording& rec, std::span<const int32_t> steps, bool up) {
    MontageRecord& m = rec.currentMontage;
    const int n = lineCount(m);
    std::vector<int32_t> gains(m.gain.begin(), m.gain.begin() + n);
    for (int i = 0; i < n; ++i) {
        if (keepsOwn(rec.own, i, kOwnGain)) {
            continue; // a line with a gain of its own keeps it
        }
        const std::optional<int32_t> next = neighbour(steps, m.gain[i], up);
        if (!next) {
            return false;
        }
        gains[i] = *next;
    }
    std::copy(gains.begin(), gains.end(), m.gain.begin());
    return true;
}

void setEegGain(Recording& rec, int32_t gain) {
    MontageRecord& m = rec.currentMontage;
    const bool selection = anySelected(m);
    for (int i = 0; i < lineCount(m); ++i) {
        const bool chosen =
            selection ? m.selected[i] != 0 : isEegLine(rec, i) || hasInput(m, i, 174);
        if (chosen && !keepsOwn(rec.own, i, kOwnGain)) {
            m.gain[i] = gain;
        }
    }
}

int32_t eegGain(const Recording& rec) {
    const MontageRecord& m = rec.currentMontage;
    std::optional<int32_t> shared;
    for (int i = 0; i < lineCount(m); ++i) {
        if (!isEegLine(rec, i) || keepsOwn(rec.own, i, kOwnGain)) {
            continue;
        }
        if (!shared) {
            shared = m.gain[i];
        } else if (*shared != m.gain[i]) {
            return -1;
        }
    }
    return shared.value_or(-1);
}

void setEegFilter(Recording& rec, FilterSetting which, uint32_t value) {
    MontageRecord& m = rec.currentMontage;
    const int n = lineCount(m);
    const bool selection = anySelected(m);
    bool eegAcquired = false;
    for (int i = 0; i < n && !eegAcquired; ++i) {
        eegAcquired = isEegLine(rec, i) && examinedAcquired(rec, i);
    }
    auto& values = filterValues(m, which);
    for (int i = 0; i < n; ++i) {
        const bool chosen = selection     ? m.selected[i] != 0
                            : eegAcquired ? isEegLine(rec, i)
                                          : !isEegLine(rec, i);
        if (chosen && !keepsOwn(rec.own, i, ownBit(which))) {
            values[i] = value;
        }
    }
}

int32_t prevailingFilter(const Recording& rec, FilterSetting which) {
    const MontageRecord& m = rec.currentMontage;
    const int n = lineCount(m);
    const auto& values = filterValues(m, which);
    bool eegAcquired = false;
    for (int i = 0; i < n && !eegAcquired; ++i) {
        eegAcquired = isEegLine(rec, i) && examinedAcquired(rec, i);
    }
    const auto followsPage = [&rec, which](int i) { return !keepsOwn(rec.own, i, ownBit(which)); };
    if (eegAcquired) {
        auto eeg = [&](int i) { return isEegLine(rec, i) && followsPage(i); };
        const int winner = mostRepeatedLine(
            n, eeg, eeg, [&values](int i, int j) { return values[i] == values[j]; });
        return static_cast<int32_t>(values[winner]);
    }
    int last = -1;
    for (int i = 0; i < n; ++i) {
        if (!isEegLine(rec, i) && examinedAcquired(rec, i) && followsPage(i)) {
            last = i;
        }
    }
    if (last < 0) {
        return -1;
    }
    for (int i = 0; i < n; ++i) {
        if (!isEegLine(rec, i) && followsPage(i) && values[i] != values[last]) {
            return -1;
        }
    }
    return static_cast<int32_t>(values[last]);
}

void deselectAll(MontageRecord& m) { m.selected.fill(0); }

} // namespace viewer
