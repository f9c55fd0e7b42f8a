#include "own_montage.h"

#include "electrode_names.h"
#include "line_settings.h"
#include "montage_lines.h"
#include "text.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace viewer {

namespace {

constexpr uint8_t kBlack = 5;

std::string labelOf(const ElectrodeRecord& e) {
    return windows1252ToUtf8(fieldText(e.positiveLabel.data(), e.positiveLabel.size()));
}

// Channel electrodes by key: the first channel of each key, EEG before polygraphic.
std::map<std::string, uint16_t> electrodesByKey(const Recording& rec) {
    std::map<std::string, uint16_t> codes;
    const int channels = std::min<int>(rec.header.numChannels, rec.orderTable.size());
    for (bool polygraphic : {false, true}) {
        for (int p = 0; p < channels; ++p) {
            const uint16_t code = rec.orderTable[p];
            const ElectrodeRecord& e = electrodeOf(rec, code);
            if (code == 0 || code >= kElectrodeCount || e.polygraphic() != polygraphic) {
                continue;
            }
            codes.emplace(electrodeKey(labelOf(e)), code);
        }
    }
    return codes;
}

uint32_t thousandths(double hz, double scale) {
    const double v = std::round(hz * scale);
    return std::isfinite(v) ? static_cast<uint32_t>(std::clamp(v, 0.0, 4.0e9)) : 0;
}

// Electrode codes by key, and the code of every name looked up so far.
struct Codes {
    std::map<std::string, uint16_t> byKey;
    std::map<std::string, uint16_t> byName;

    uint16_t of(const std::string& name) {
        const auto known = byName.find(name);
        if (known != byName.end()) {
            return known->second;
        }
        const auto it = byKey.find(electrodeKey(name));
        const uint16_t code = it == byKey.end() ? kMissingElectrode : it->second;
        byName.emplace(name, code);
        return code;
    }
};

OwnLine ownLine(const Recording& rec, const MontageLine& l, Codes& codes) {
    OwnLine own;
    own.label = l.label;
    own.rgb = l.colour;
    for (const MontageTerm& t : l.terms) {
        own.terms.push_back({codes.of(t.electrode), l.inverted ? -t.weight : t.weight});
        own.polygraphic = own.polygraphic || electrodeOf(rec, own.terms.back().code).polygraphic();
    }
    own.keeps =
        static_cast<uint8_t>((l.gainUvPerCm ? kOwnGain : 0) | (l.highPassHz ? kOwnHighPass : 0) |
                             (l.lowPassHz ? kOwnLowPass : 0) | (l.notch ? kOwnNotch : 0));
    own.notch = l.notch ? static_cast<uint8_t>(*l.notch) : 0;
    return own;
}

} // namespace

PageSettings pageSettingsOf(const Recording& rec, const PageSettings& fallback) {
    PageSettings page = fallback;
    if (!rec.isOpen() || rec.currentMontage.numLines == 0) {
        return page;
    }
    int32_t gain = eegGain(rec);
    if (gain < 0) {
        // Gains that differ: the one most EEG lines share.
        const MontageRecord& m = rec.currentMontage;
        const auto eeg = [&rec](int i) { return isEegLine(rec, i); };
        const int line = mostRepeatedLine(std::min<int>(m.numLines, kMaxLines), eeg, eeg,
                                          [&m](int i, int j) { return m.gain[i] == m.gain[j]; });
        gain = eeg(line) ? m.gain[static_cast<size_t>(line)] : -1;
    }
    const int32_t highPass = prevailingFilter(rec, FilterSetting::HighPass);
    const int32_t lowPass = prevailingFilter(rec, FilterSetting::LowPass);
    page.gain = gain > 0 ? gain : page.gain;
    page.highPass = highPass >= 0 ? static_cast<uint32_t>(highPass) : page.highPass;
    page.lowPass = lowPass >= 0 ? static_cast<uint32_t>(lowPass) : page.lowPass;
    page.notch = rec.currentMontage.notch;
    return page;
}

namespace {

std::vector<std::string> namesOf(const Recording& rec, bool polygraphic) {
    std::vector<std::string> names;
    const int channels = std::min<int>(rec.header.numChannels, rec.orderTable.size());
    for (int p = 0; p < channels; ++p) {
        const uint16_t code = rec.orderTable[p];
        const ElectrodeRecord& e = electrodeOf(rec, code);
        if (code != 0 && e.status != 0 && e.polygraphic() == polygraphic) {
            names.push_back(labelOf(e));
        }
    }
    return names;
}

} // namespace

std::vector<std::string> eegElectrodeNames(const Recording& rec) { return namesOf(rec, false); }

std::vector<std::string> electrodeNames(const Recording& rec) {
    std::vector<std::string> names = namesOf(rec, false);
    for (std::string& n : namesOf(rec, true)) {
        names.push_back(std::move(n));
    }
    return names;
}

void applyOwnMontage(Recording& rec, const MontageDefinition& def, const PageSettings& page) {
    Codes codes{electrodesByKey(rec), {}};
    rec.own = OwnMontage{true, def.name, {}};
    MontageRecord& m = rec.currentMontage;
    const int32_t pageMs = m.pageMs;
    m = MontageRecord{};
    m.pageMs = pageMs;
    m.converted = 1;
    m.notch = page.notch;
    const std::string ascii = def.name.substr(0, m.description.size());
    std::transform(ascii.begin(), ascii.end(), m.description.begin(),
                   [](char c) { return static_cast<unsigned char>(c) < 0x80 ? c : '?'; });
    for (const MontageLine& l : def.lines) {
        if (l.hidden || rec.own.lines.size() == static_cast<size_t>(kMaxLines)) {
            continue;
        }
        const size_t i = rec.own.lines.size();
        rec.own.lines.push_back(ownLine(rec, l, codes));
        const std::vector<OwnTerm>& terms = rec.own.lines.back().terms;
        // The line's first two electrodes stand for its inputs where the record asks for them
        // (the electrode examined for EEG filters, electrodes that are never filtered).
        m.inputA[i] = terms.empty() || terms[0].code == kMissingElectrode ? 0 : terms[0].code;
        m.inputB[i] = terms.size() < 2 || terms[1].code == kMissingElectrode ? 0 : terms[1].code;
        m.colourIndex[i] = kBlack;
        m.gain[i] = l.gainUvPerCm ? std::max<int32_t>(*l.gainUvPerCm, 1) : page.gain;
        m.highPass[i] = l.highPassHz ? thousandths(*l.highPassHz, 1000.0) : page.highPass;
        m.lowPass[i] = l.lowPassHz ? thousandths(*l.lowPassHz, 100.0) : page.lowPass;
    }
    m.numLines = static_cast<uint16_t>(rec.own.lines.size());
}

} // namespace viewer
