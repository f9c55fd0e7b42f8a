#include "derivations.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace viewer {

namespace {

void copyCalibration(DerivationRecord& r, const ElectrodeRecord& e) {
    r.physicalMax = e.physicalMax;
    r.physicalMin = e.physicalMin;
    r.logicMax = e.logicMax;
    r.logicMin = e.logicMin;
    r.logicGround = e.logicGround;
    r.unit = e.unit;
    r.stepUv = e.stepUv;
    r.groundFraction = e.groundFraction;
}

bool acquired(const Recording& rec, uint16_t code) {
    return code < kElectrodeCount && rec.electrodes[code].status != 0;
}

using Positions = std::array<int16_t, kElectrodeCount>;

// Channel position of every electrode code; code 0 (the reference) has none, nor (for own
// montages, which read only what is in the frame) codes absent from the channel order.
Positions channelPositions(const Recording& rec, int16_t absent) {
    Positions position{};
    position.fill(absent);
    position[0] = -1;
    const int channels = std::min<int>(rec.header.numChannels, rec.orderTable.size());
    for (int p = 0; p < channels; ++p) {
        if (rec.orderTable[p] < kElectrodeCount) {
            position[rec.orderTable[p]] = static_cast<int16_t>(p);
        }
    }
    return position;
}

// The terms of `line` with each electrode once and no zero weight, in first-seen order.
std::vector<OwnTerm> mergedTerms(const OwnLine& line) {
    std::vector<OwnTerm> merged;
    for (const OwnTerm& t : line.terms) {
        auto same = std::find_if(merged.begin(), merged.end(),
                                 [&t](const OwnTerm& m) { return m.code == t.code; });
        if (same == merged.end()) {
            merged.push_back(t);
        } else {
            same->weight += t.weight;
        }
    }
    std::erase_if(merged, [](const OwnTerm& t) { return t.weight == 0.0; });
    return merged;
}

// Line `i` of the own montage: a recorded line's kind when it is one (an electrode against
// the zero level, or A - B of one calibration), else a weighted sum in steps of its first
// electrode's calibration.
void buildOwnLine(Recording& rec, const Positions& position, int i) {
    DerivationRecord& r = rec.derivations[i];
    const OwnLine& line = rec.own.lines[static_cast<size_t>(i)];
    // Looked at before merging: two electrodes the recording lacks share one code, and
    // "A - B" of two of them would otherwise cancel into a line without input.
    const bool lacksOne = std::any_of(line.terms.begin(), line.terms.end(), [&](const OwnTerm& t) {
        return t.weight != 0.0 && !(acquired(rec, t.code) && position[t.code] >= 0);
    });
    const std::vector<OwnTerm> terms = mergedTerms(line);
    if (lacksOne || terms.empty()) {
        r.kind = lacksOne ? kUnavailable : kNoInput;
        return;
    }
    const ElectrodeRecord& first = rec.electrodes[terms[0].code];
    copyCalibration(r, first);
    if (terms.size() == 1 && (terms[0].weight == 1.0 || terms[0].weight == -1.0)) {
        const bool positive = terms[0].weight > 0.0;
        (positive ? r.channelA : r.channelB) = position[terms[0].code];
        r.kind = positive ? kInputAOnly : kInputBOnly;
        return;
    }
    DerivationRecord probe{};
    if (terms.size() == 2) {
        copyCalibration(probe, rec.electrodes[terms[1].code]);
    }
    const bool sameCalibration =
        probe.physicalMax == r.physicalMax && probe.physicalMin == r.physicalMin &&
        probe.logicMax == r.logicMax && probe.logicMin == r.logicMin && probe.unit == r.unit &&
        probe.stepUv == r.stepUv && probe.groundFraction == r.groundFraction;
    if (terms.size() == 2 && sameCalibration && terms[0].weight == -terms[1].weight &&
        std::abs(terms[0].weight) == 1.0) {
        const bool aFirst = terms[0].weight > 0.0;
        r.channelA = position[terms[aFirst ? 0 : 1].code];
        r.channelB = position[terms[aFirst ? 1 : 0].code];
        r.kind = kBothInputs;
        return;
    }
    r.kind = kWeighted;
    const double reference = lineScale(r);
    WeightedDerivation& w = rec.weighted.lines[static_cast<size_t>(i)];
    for (const OwnTerm& t : terms) {
        DerivationRecord own{};
        copyCalibration(own, rec.electrodes[t.code]);
        const double steps = reference != 0.0 ? lineScale(own) / reference : 1.0;
        w.channels.push_back(position[t.code]);
        w.weights.push_back(t.weight * steps);
        w.offset -= t.weight * steps * (own.logicGround + own.groundFraction);
    }
}

// Moves the sum that many weighted lines have in common (the mean of a common reference)
// into one shared sum, for the lines that then need fewer terms.
void shareCommonSum(WeightedLines& wl, const std::array<DerivationRecord, kMaxLines>& d) {
    std::map<std::pair<int16_t, double>, int> uses;
    int weightedLines = 0;
    for (size_t i = 0; i < wl.lines.size(); ++i) {
        weightedLines += d[i].kind == kWeighted ? 1 : 0;
        for (size_t k = 0; d[i].kind == kWeighted && k < wl.lines[i].channels.size(); ++k) {
            ++uses[{wl.lines[i].channels[k], wl.lines[i].weights[k]}];
        }
    }
    std::map<int16_t, std::pair<double, int>> shared; // channel -> most used weight
    for (const auto& [term, count] : uses) {
        auto& best = shared[term.first];
        if (count >= 3 && count > best.second) {
            best = {term.second, count};
        }
    }
    std::erase_if(shared, [](const auto& s) { return s.second.second == 0; });
    if (weightedLines < 3 || shared.empty()) {
        return;
    }
    for (const auto& [channel, weight] : shared) {
        wl.sharedChannels.push_back(channel);
        wl.sharedWeights.push_back(weight.first);
    }
    for (size_t i = 0; i < wl.lines.size(); ++i) {
        WeightedDerivation& w = wl.lines[i];
        if (d[i].kind != kWeighted) {
            continue;
        }
        std::map<int16_t, double> rest;
        for (const auto& [channel, weight] : shared) {
            rest[channel] = -weight.first;
        }
        for (size_t k = 0; k < w.channels.size(); ++k) {
            rest[w.channels[k]] += w.weights[k];
        }
        std::erase_if(rest, [](const auto& r) { return r.second == 0.0; });
        if (rest.size() + 1 < w.channels.size()) {
            w.channels.clear();
            w.weights.clear();
            for (const auto& [channel, weight] : rest) {
                w.channels.push_back(channel);
                w.weights.push_back(weight);
            }
            w.shared = true;
        }
    }
}

void buildOwnDerivations(Recording& rec, const Positions& position) {
    const int lines = std::min<int>(
        {rec.currentMontage.numLines, kMaxLines, static_cast<int>(rec.own.lines.size())});
    rec.weighted.lines.assign(static_cast<size_t>(lines), WeightedDerivation{});
    for (int i = 0; i < lines; ++i) {
        buildOwnLine(rec, position, i);
    }
    shareCommonSum(rec.weighted, rec.derivations);
}

} // namespace

void buildDerivationRecords(Recording& rec) {
    if (!rec.isOpen()) {
        return;
    }
    const MontageRecord& m = rec.currentMontage;
    const int lines = std::min<int>(m.numLines, kMaxLines);
    rec.derivations.fill(DerivationRecord{});
    rec.weighted = WeightedLines{};
    if (rec.own.inForce) {
        buildOwnDerivations(rec, channelPositions(rec, -1));
        return;
    }
    const Positions position = channelPositions(rec, 0);
    for (int i = 0; i < lines; ++i) {
        const uint16_t a = m.inputA[i];
        const uint16_t b = m.inputB[i];
        DerivationRecord& r = rec.derivations[i];
        if ((a != 0 && !acquired(rec, a)) || (b != 0 && !acquired(rec, b))) {
            r.kind = kUnavailable;
            continue;
        }
        if (a != 0) {
            r.channelA = position[a];
            copyCalibration(r, rec.electrodes[a]);
            r.kind = kInputAOnly;
        }
        if (b != 0) {
            r.channelB = position[b];
            copyCalibration(r, rec.electrodes[b]);
            r.kind += kInputBOnly;
        }
    }
}

double lineScale(const DerivationRecord& r) {
    if (r.stepUv != 0.0) {
        return r.stepUv;
    }
    double factor = 1.0;
    switch (r.unit) {
    case 1:
        factor = 1000.0;
        break;
    case 2:
        factor = 1000000.0;
        break;
    case -1:
        factor = 0.001;
        break;
    default:
        break;
    }
    const int64_t steps = static_cast<int64_t>(r.logicMax) - r.logicMin + 1;
    if (steps == 0) {
        return 0.0;
    }
    const int64_t range = static_cast<int64_t>(r.physicalMax) - r.physicalMin;
    return static_cast<double>(range) * factor / static_cast<double>(steps);
}

} // namespace viewer
