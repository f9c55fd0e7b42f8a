#include "trend_data.h"

#include <algorithm>

namespace viewer::trends {

void TrendData::allocate() {
    const size_t cells = static_cast<size_t>(segments) * static_cast<size_t>(lines());
    const float none = std::numeric_limits<float>::quiet_NaN();
    cdsa.assign(cells * kBins, kNoValue);
    lower.assign(cells, none);
    upper.assign(cells, none);
    suppression.assign(cells, none);
    power.assign(cells, none);
    done.assign(static_cast<size_t>(segments), 0);
}

float TrendData::asymmetry(int segment, int p) const {
    const LinePair& pair = layout.pairs[static_cast<size_t>(p)];
    const float l = power[at(segment, pair.left)];
    const float r = power[at(segment, pair.right)];
    if (!(l + r > 0.0f)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    return (r - l) / (r + l);
}

void TrendData::merge(const BlockResult& b) {
    if (b.lines != lines() || b.first < 0 || b.first + b.count > segments) {
        return;
    }
    const size_t from = at(b.first, 0);
    const size_t cells = static_cast<size_t>(b.count) * static_cast<size_t>(b.lines);
    for (size_t i = 0; i < cells * kBins; ++i) {
        const float v = b.cdsa[i];
        cdsa[from * kBins + i] =
            std::isfinite(v)
                ? static_cast<int16_t>(std::lround(std::clamp(v, -320.0f, 320.0f) * 100))
                : kNoValue;
    }
    std::copy_n(b.lower.begin(), cells, lower.begin() + static_cast<std::ptrdiff_t>(from));
    std::copy_n(b.upper.begin(), cells, upper.begin() + static_cast<std::ptrdiff_t>(from));
    std::copy_n(b.suppression.begin(), cells,
                suppression.begin() + static_cast<std::ptrdiff_t>(from));
    std::copy_n(b.power.begin(), cells, power.begin() + static_cast<std::ptrdiff_t>(from));
    std::fill_n(done.begin() + b.first, b.count, 1);
}

int TrendData::segmentsDone() const {
    return static_cast<int>(std::count(done.begin(), done.end(), 1));
}

int segmentCount(int64_t frames, double rate, double segmentSeconds) {
    if (rate <= 0.0 || segmentSeconds <= 0.0) {
        return 0;
    }
    const auto perSegment = static_cast<int64_t>(std::llround(segmentSeconds * rate));
    const int64_t whole = frames / perSegment;
    const bool tail = frames - whole * perSegment >= static_cast<int64_t>(std::llround(2 * rate));
    return static_cast<int>(whole + (tail ? 1 : 0));
}

} // namespace viewer::trends
