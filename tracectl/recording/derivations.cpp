#include "derivations.h"

#include <algorithm>
#include <array>

namespace viewer {

namespace {

void copyCalibration(DerivationRecord& r, const ElectrodeRecord& e) {
    r.physicalMax = e.physicalMax;
    r.physicalMin = e.physicalMin;
    r.logicMax = e.logicMax;
    r.logicMin = e.logicMin;
    r.logicGround = e.logicGround;
    r.unit = e.unit;
}

bool acquired(const Recording& rec, uint16_t code) {
    return code < kElectrodeCount && rec.electrodes[code].status != 0;
}

} // namespace

void buildDerivationRecords(Recording& rec) {
    if (!rec.isOpen()) {
        return;
    }
    // Channel position of every electrode code; code 0 (the reference) has none.
    std::array<int16_t, kElectrodeCount> position{};
    position[0] = -1;
    const int channels = std::min<int>(rec.header.numChannels, rec.orderTable.size());
    for (int p = 0; p < channels; ++p) {
        if (rec.orderTable[p] < kElectrodeCount) {
            position[rec.orderTable[p]] = static_cast<int16_t>(p);
        }
    }
    const MontageRecord& m = rec.currentMontage;
    const int lines = std::min<int>(m.numLines, kMaxLines);
    rec.derivations.fill(DerivationRecord{});
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
