#pragma once
// The filter chains of every line of a montage: coefficients from the montage's settings,
// state that only a new coefficient computation clears.

#include "line_filter.h"

#include <array>
#include <cstdint>
#include <span>

namespace viewer {

class FilterBank {
public:
    static constexpr int kSlots = 256;

    // Recomputes the coefficients of lines 0 .. highPass.size() - 1 for sampling rate `fs`
    // (Hz), the montage's `notch` and each line's `highPass` and `lowPass`; the other
    // slots take pass values. Clears the state of every line.
    void recompute(double fs, uint8_t notch, std::span<const uint32_t> highPass,
                   std::span<const uint32_t> lowPass);
    // The same with a notch setting per line (`notch`[i] for line i, off past its end).
    void recompute(double fs, std::span<const uint8_t> notch, std::span<const uint32_t> highPass,
                   std::span<const uint32_t> lowPass);

    // Line `i` (0 .. kSlots - 1).
    LineFilter& line(int i) { return lines_[i]; }
    const LineFilter& line(int i) const { return lines_[i]; }

private:
    std::array<LineFilter, kSlots> lines_{};
};

} // namespace viewer
