#include "block_trends.h"

#include "band_filter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace viewer::trends {

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
// Densities below this (µV²/Hz) are shown at its level: -60 dB.
constexpr double kFloorDensity = 1e-6;

int64_t framesOf(double seconds, double rate) {
    return std::max<int64_t>(1, std::llround(seconds * rate));
}

// The `p`-th quantile (0..1) of `v`, interpolated between neighbouring ranks.
float quantile(std::vector<float>& v, double p) {
    if (v.empty()) {
        return kNaN;
    }
    std::sort(v.begin(), v.end());
    const double rank = p * static_cast<double>(v.size() - 1);
    const auto lo = static_cast<size_t>(rank);
    const size_t hi = std::min(lo + 1, v.size() - 1);
    return static_cast<float>(v[lo] + (rank - static_cast<double>(lo)) * (v[hi] - v[lo]));
}

} // namespace

BlockTrends::BlockTrends(LineReader& reader, FftPlans& plans, double segmentSeconds)
    : reader_(reader), welch_(plans, static_cast<int>(framesOf(2.0, reader.rate()))),
      rate_(reader.rate()), segmentFrames_(framesOf(segmentSeconds, reader.rate())) {}

BlockResult BlockTrends::compute(int first, int count) {
    const int lines = reader_.lineCount();
    const int64_t total = reader_.frames();
    const int64_t start = first * segmentFrames_;
    const int64_t end = std::min((first + count) * segmentFrames_, total);
    const int64_t pre = std::min(start, framesOf(kPrerollSeconds, rate_));
    const int64_t post = std::min(total - end, framesOf(kPostrollSeconds, rate_));
    reader_.read(start - pre, pre + (end - start) + post, lines_);

    std::vector<Span> segs;
    for (int s = 0; s < count; ++s) {
        const int64_t a = start + s * segmentFrames_;
        segs.push_back(
            {static_cast<size_t>(a - start + pre),
             static_cast<size_t>(std::max<int64_t>(0, std::min(segmentFrames_, end - a)))});
    }
    BlockResult r{first, count, lines, {}, {}, {}, {}, {}};
    const size_t cells = static_cast<size_t>(count) * static_cast<size_t>(lines);
    r.cdsa.assign(cells * kBins, kNaN);
    r.lower.assign(cells, kNaN);
    r.upper.assign(cells, kNaN);
    r.suppression.assign(cells, kNaN);
    r.power.assign(cells, kNaN);
    for (int i = 0; i < lines; ++i) {
        if (!reader_.present()[static_cast<size_t>(i)]) {
            continue;
        }
        const std::vector<float>& line = lines_[static_cast<size_t>(i)];
        spectra(line, segs, i, r);
        aeeg(line, static_cast<size_t>(pre), segs, i, r);
        quiet(line, segs, i, r);
    }
    return r;
}

void BlockTrends::spectra(const std::vector<float>& line, const std::vector<Span>& segs, int line0,
                          BlockResult& r) {
    psd_.resize(static_cast<size_t>(welch_.bins()));
    const double binWidth = rate_ / welch_.length();
    for (size_t s = 0; s < segs.size(); ++s) {
        const size_t cell = s * static_cast<size_t>(r.lines) + static_cast<size_t>(line0);
        const std::span<const float> values(line.data() + segs[s].begin, segs[s].length);
        if (welch_.density(values, rate_, psd_) == 0) {
            continue;
        }
        for (int b = 0; b < kBins; ++b) {
            const auto k = static_cast<size_t>(std::lround(binHz(b) / binWidth));
            if (k < psd_.size()) {
                r.cdsa[cell * kBins + static_cast<size_t>(b)] =
                    static_cast<float>(10.0 * std::log10(std::max(psd_[k], kFloorDensity)));
            }
        }
        double power = 0.0;
        for (size_t k = 0; k < psd_.size(); ++k) {
            const double hz = static_cast<double>(k) * binWidth;
            if (hz >= kPowerLowHz - 1e-9 && hz <= kPowerHighHz + 1e-9) {
                power += psd_[k] * binWidth;
            }
        }
        r.power[cell] = static_cast<float>(power);
    }
}

void BlockTrends::aeeg(const std::vector<float>& line, size_t blockStart,
                       const std::vector<Span>& segs, int line0, BlockResult& r) {
    work_.assign(line.begin(), line.end());
    BandFilter(kAeegLowHz, kAeegHighHz, rate_).run(work_);
    // Peaks of the rectified signal per step, on a grid anchored at the block's start.
    const auto step = static_cast<size_t>(framesOf(kEnvelopeStepSeconds, rate_));
    const auto steps = static_cast<size_t>(std::llround(kEnvelopeSeconds / kEnvelopeStepSeconds));
    const size_t origin = blockStart % step;
    std::vector<float> peaks;
    for (size_t a = origin; a + step <= work_.size(); a += step) {
        float m = 0.0f;
        for (size_t k = a; k < a + step; ++k) {
            m = std::max(m, std::fabs(work_[k]));
        }
        peaks.push_back(m);
    }
    std::vector<float> envelope;
    for (size_t s = 0; s < segs.size(); ++s) {
        envelope.clear();
        // Every step ending inside the segment: twice the rectified peak over the envelope's
        // window ending there (a sine's peak-to-peak amplitude).
        for (size_t j = 0; j < peaks.size(); ++j) {
            const size_t stepEnd = origin + (j + 1) * step;
            if (stepEnd <= segs[s].begin || stepEnd > segs[s].begin + segs[s].length) {
                continue;
            }
            const size_t from = j + 1 >= steps ? j + 1 - steps : 0;
            envelope.push_back(
                2.0f * *std::max_element(peaks.begin() + static_cast<std::ptrdiff_t>(from),
                                         peaks.begin() + static_cast<std::ptrdiff_t>(j + 1)));
        }
        const size_t cell = s * static_cast<size_t>(r.lines) + static_cast<size_t>(line0);
        r.lower[cell] = quantile(envelope, 0.10);
        r.upper[cell] = quantile(envelope, 0.90);
    }
}

void BlockTrends::quiet(const std::vector<float>& line, const std::vector<Span>& segs, int line0,
                        BlockResult& r) {
    work_.assign(line.begin(), line.end());
    BandFilter(kQuietLowHz, kQuietHighHz, rate_).run(work_);
    // Marks (as 1) the samples of every run within the level lasting the run length or more.
    const auto run = static_cast<size_t>(framesOf(kQuietRunSeconds, rate_));
    size_t runStart = 0;
    for (size_t k = 0; k <= work_.size(); ++k) {
        const bool in = k < work_.size() && std::fabs(work_[k]) <= kQuietMicrovolts;
        if (in) {
            continue;
        }
        std::fill(work_.begin() + static_cast<std::ptrdiff_t>(runStart),
                  work_.begin() + static_cast<std::ptrdiff_t>(k),
                  k - runStart >= run ? 1.0f : 0.0f);
        if (k < work_.size()) {
            work_[k] = 0.0f;
        }
        runStart = k + 1;
    }
    for (size_t s = 0; s < segs.size(); ++s) {
        if (segs[s].length == 0) {
            continue;
        }
        const auto from = work_.begin() + static_cast<std::ptrdiff_t>(segs[s].begin);
        const double marked =
            std::accumulate(from, from + static_cast<std::ptrdiff_t>(segs[s].length), 0.0);
        r.suppression[s * static_cast<size_t>(r.lines) + static_cast<size_t>(line0)] =
            static_cast<float>(100.0 * marked / static_cast<double>(segs[s].length));
    }
}

} // namespace viewer::trends
