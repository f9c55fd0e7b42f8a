#pragma once
// Where the samples of a line land on the page: line scaling and pixel positions.

#include "derivation_record.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <span>
#include <vector>

namespace viewer {

// Pixels per centimetre of a display `verticalPixels` tall, taken as 200 mm.
double pixelsPerCm(int verticalPixels);

// K, the pixels per digital step of a line: its microvolts per step times pixels per
// centimetre over its gain in microvolts per centimetre. 0 (the line lies on its row
// centre) for a gain of 0, an empty calibration or a result that is not finite.
double pixelsPerStep(const DerivationRecord& r, int32_t gain, double pixelsPerCm);

// x of sample `l` of `samples` spread over `traceWidth` pixels right of `labelWidth`,
// computed in 64 bits. `samples` must not be 0.
inline int32_t sampleX(int32_t labelWidth, uint32_t l, int32_t traceWidth, uint32_t samples) {
    return labelWidth + static_cast<int32_t>(static_cast<int64_t>(l) * traceWidth /
                                             static_cast<int64_t>(samples));
}

// sampleX for l = 0, 1, 2, ... in turn, with no division per sample: the quotient and rest
// of l x traceWidth / samples are carried from one sample to the next.
class SampleXWalk {
public:
    SampleXWalk(int32_t labelWidth, int32_t traceWidth, uint32_t samples)
        : labelWidth_(labelWidth), sign_(traceWidth < 0 ? -1 : 1), samples_(samples),
          wholeStep_(std::abs(int64_t{traceWidth}) / samples),
          restStep_(std::abs(int64_t{traceWidth}) % samples) {}

    // The x of the current sample.
    int32_t x() const { return labelWidth_ + sign_ * static_cast<int32_t>(quotient_); }

    void next() {
        quotient_ += wholeStep_;
        rest_ += restStep_;
        if (rest_ >= samples_) {
            rest_ -= samples_;
            ++quotient_;
        }
    }

private:
    int32_t labelWidth_;
    int32_t sign_;
    int64_t samples_;
    int64_t wholeStep_;
    int64_t restStep_;
    int64_t quotient_ = 0;
    int64_t rest_ = 0;
};

// y of `value` scaled by `k` on the row centred at `rowCentre`: positive values above it.
// The scaled value is truncated toward zero and limited to +-65536 (NaN counts as 0), y is
// kept within the 16-bit range. (Inline: it runs once per sample of every line. Limiting
// before truncating gives the same offset and lets the conversion itself truncate.)
inline int32_t traceY(int32_t rowCentre, float value, double k) {
    double scaled = static_cast<double>(value) * k;
    scaled = scaled > 65536.0 ? 65536.0 : scaled;
    scaled = scaled < -65536.0 ? -65536.0 : scaled;
    scaled = scaled == scaled ? scaled : 0.0; // NaN
    const double y =
        static_cast<double>(rowCentre) - static_cast<double>(static_cast<int32_t>(scaled));
    return static_cast<int32_t>(y < -32768.0 ? -32768.0 : y > 32767.0 ? 32767.0 : y);
}

// traceY of every value of a line into `ys` (as long as `values`), two values at a time
// on vector registers where the processor has them. Returns the largest y (the lowest on
// the layer), -32768 for no values.
int32_t traceYs(std::span<const float> values, int32_t rowCentre, double k, std::span<int32_t> ys);

// The pixel columns the first `count` of a page's `samples` samples fall into (see
// sampleX), the same for every line of the page: run r holds samples start[r] ..
// start[r + 1] - 1, all at x[r].
struct SampleColumns {
    std::vector<int32_t> x;
    std::vector<uint32_t> start; // one more than the runs
    uint32_t shortest = 0;       // samples of the shortest and the longest run
    uint32_t longest = 0;

    void build(int32_t labelWidth, int32_t traceWidth, uint32_t samples, uint32_t count);
    size_t runs() const { return x.size(); }
};

} // namespace viewer
