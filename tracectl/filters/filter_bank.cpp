#include "filter_bank.h"

#include <algorithm>

namespace viewer {

void FilterBank::recompute(double fs, uint8_t notch, std::span<const uint32_t> highPass,
                           std::span<const uint32_t> lowPass) {
    std::array<uint8_t, kSlots> each{};
    each.fill(notch);
    recompute(fs, each, highPass, lowPass);
}

void FilterBank::recompute(double fs, std::span<const uint8_t> notch,
                           std::span<const uint32_t> highPass, std::span<const uint32_t> lowPass) {
    const size_t lines = std::min({highPass.size(), lowPass.size(), lines_.size()});
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i < lines) {
            lines_[i].configure(fs, i < notch.size() ? notch[i] : 0, highPass[i], lowPass[i]);
        } else {
            lines_[i].reset();
        }
    }
}

} // namespace viewer
