#include "page_length.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace viewer {

uint32_t framesThatFit(const Recording& rec) {
    const uint16_t channels = rec.header.numChannels;
    return channels == 0 ? 0 : static_cast<uint32_t>(kPageBufferValues / channels);
}

void applyPageMs(Recording& rec, int64_t ms) {
    const int64_t rate = rec.header.rate;
    ms = std::clamp<int64_t>(ms, 0, std::numeric_limits<int32_t>::max());
    if (rate > 0 && rec.header.numChannels > 0) {
        const int64_t limitMs = static_cast<int64_t>(framesThatFit(rec)) * 1000 / rate;
        ms = std::min(ms, limitMs);
    }
    rec.currentMontage.pageMs = static_cast<int32_t>(ms);
    rec.samplesPerPage = static_cast<uint32_t>(rate * ms / 1000);
}

float applyPageSeconds(Recording& rec, float seconds) {
    // The product stays in single precision, so 0.7 s gives the 700 ms it reads as.
    const float ms = seconds * 1000.0f;
    // A cap that came out negative through the 16-bit step of maxPageMs caps nothing; the
    // page buffer still limits the page.
    const auto cap = static_cast<double>(static_cast<uint32_t>(rec.maxPageMs));
    double chosen = 0.0;
    if (std::isnan(ms) || ms < 0.0f) {
        chosen = 0.0;
    } else if (static_cast<double>(ms) > cap) {
        chosen = cap;
    } else {
        chosen = std::trunc(static_cast<double>(ms));
    }
    applyPageMs(rec, static_cast<int64_t>(chosen));
    return static_cast<float>(rec.currentMontage.pageMs) / 1000.0f;
}

} // namespace viewer
