#pragma once
// The trends of a whole recording, segment by segment and line by line: the spectral array
// (0.5 Hz bins from 0.5 to 30 Hz, dB of µV²/Hz), the aEEG margins, the suppression and the
// power from which the asymmetry of each pair of lines follows.

#include "trend_lines.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace viewer::trends {

constexpr int kBins = 60;           // 0.5, 1.0, ... 30.0 Hz
constexpr double kBinHz = 0.5;      // width and spacing of the bins
constexpr double kMinSegment = 2.0; // seconds a segment may hold, at least and at most
constexpr double kMaxSegment = 60.0;

// Centre frequency of bin `b` in Hz.
inline double binHz(int b) { return kBinHz * (b + 1); }

// What one run of the computation gives for consecutive segments [first, first + count).
struct BlockResult {
    int first = 0;
    int count = 0;
    int lines = 0;
    std::vector<float> cdsa; // [segment][line][bin] dB; NaN where not computed
    std::vector<float> lower, upper, suppression, power; // [segment][line]
};

struct TrendData {
    double segmentSeconds = 10.0;
    double rate = 0.0;
    int64_t frames = 0;
    int segments = 0;
    std::string montage;
    LineLayout layout;
    // Spectral array in hundredths of a dB, kNoValue where not computed.
    std::vector<int16_t> cdsa;
    std::vector<float> lower, upper, suppression, power; // NaN where not computed
    std::vector<uint8_t> done;                           // per segment: computed

    static constexpr int16_t kNoValue = std::numeric_limits<int16_t>::min();

    // Sized for `segments` segments of the layout's lines, nothing computed yet.
    void allocate();
    int lines() const { return static_cast<int>(layout.labels.size()); }
    double start(int segment) const { return segment * segmentSeconds; }
    size_t at(int segment, int line) const {
        return static_cast<size_t>(segment) * static_cast<size_t>(lines()) +
               static_cast<size_t>(line);
    }
    // The spectral array of a line in one bin, in dB; NaN where not computed.
    float db(int segment, int line, int bin) const {
        const int16_t v = cdsa[at(segment, line) * kBins + static_cast<size_t>(bin)];
        return v == kNoValue ? std::numeric_limits<float>::quiet_NaN() : v / 100.0f;
    }
    // (R - L) / (R + L) of the 1-18 Hz power of pair `p`; NaN without power on either side.
    float asymmetry(int segment, int p) const;
    // Copies a computed block in.
    void merge(const BlockResult& b);
    int segmentsDone() const;
};

// Number of segments of `segmentSeconds` in a recording of `frames` frames at `rate`: the
// whole ones, and a last shorter one when it holds at least 2 s.
int segmentCount(int64_t frames, double rate, double segmentSeconds);

} // namespace viewer::trends
