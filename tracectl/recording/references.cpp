#include "references.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace viewer {

namespace {

constexpr uint16_t kLeftEar = 23;
constexpr uint16_t kRightEar = 22;

// The electrode of channel `c`, or none when its code lies outside the electrode table.
const ElectrodeRecord* electrodeOf(const Recording& rec, int c) {
    const uint16_t code = rec.orderTable[c];
    return code < kElectrodeCount ? &rec.electrodes[code] : nullptr;
}

bool isEeg(const ElectrodeRecord* e) { return e != nullptr && !e->polygraphic(); }

std::vector<int> eegChannels(const Recording& rec) {
    std::vector<int> eeg;
    for (int c = 0; c < rec.header.numChannels; ++c) {
        if (isEeg(electrodeOf(rec, c))) {
            eeg.push_back(c);
        }
    }
    return eeg;
}

int32_t toInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Half of `sum`, rounded toward minus infinity.
int64_t halfDown(int64_t sum) { return sum >= 0 ? sum / 2 : -((1 - sum) / 2); }

} // namespace

void applyReference(Recording& rec, uint32_t frames) {
    switch (rec.currentMontage.refMode) {
    case 1:
        averageReference(rec, frames);
        break;
    case 2:
        earReference(rec, frames);
        break;
    default:
        break;
    }
}

void averageReference(Recording& rec, uint32_t frames) {
    const std::vector<int> eeg = eegChannels(rec);
    std::vector<int> averaged;
    for (int c : eeg) {
        if (electrodeOf(rec, c)->avgExcluded == 0) {
            averaged.push_back(c);
        }
    }
    if (averaged.empty()) {
        return;
    }
    const ElectrodeRecord& first = *electrodeOf(rec, eeg.front());
    const int64_t ground = first.logicGround;
    const int64_t lo = first.logicMin;
    const int64_t hi = first.logicMax;
    const auto n = static_cast<int64_t>(averaged.size());
    const int channels = rec.header.numChannels;
    for (uint32_t f = 0; f < frames; ++f) {
        int32_t* frame = rec.pageBuffer.data() + static_cast<int64_t>(f) * channels;
        int64_t sum = 0;
        for (int c : averaged) {
            sum += frame[c];
        }
        const int64_t avg = sum / n - ground;
        for (int c : eeg) {
            int64_t v = frame[c] - avg;
            if (v > hi) {
                v = hi;
            }
            if (v < lo) {
                v = lo;
            }
            frame[c] = static_cast<int32_t>(v);
        }
    }
}

void earReference(Recording& rec, uint32_t frames) {
    const std::vector<int> eeg = eegChannels(rec);
    int left = -1;
    int right = -1;
    for (int c : eeg) {
        const uint16_t code = rec.orderTable[c];
        if (code == kLeftEar && left < 0) {
            left = c;
        } else if (code == kRightEar && right < 0) {
            right = c;
        }
    }
    if (left < 0 || right < 0) {
        return;
    }
    const int64_t ground = rec.electrodes[0].logicGround;
    std::vector<int64_t> floors;
    for (int c : eeg) {
        floors.push_back(std::min<int64_t>(0, electrodeOf(rec, c)->logicMin));
    }
    const int channels = rec.header.numChannels;
    for (uint32_t f = 0; f < frames; ++f) {
        int32_t* frame = rec.pageBuffer.data() + static_cast<int64_t>(f) * channels;
        const int64_t ref = halfDown(int64_t{frame[left]} + frame[right]) - ground;
        for (size_t k = 0; k < eeg.size(); ++k) {
            const int64_t v = frame[eeg[k]] - ref;
            frame[eeg[k]] = toInt32(std::max(v, floors[k]));
        }
    }
}

} // namespace viewer
