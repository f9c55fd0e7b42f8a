#pragma once
// The trends of a run of consecutive segments, every line at once, from a reader of the
// recording: each segment's spectral array and 1-18 Hz power (Welch), aEEG margins and
// suppression. One BlockTrends per worker thread.

#include "line_reader.h"
#include "trend_data.h"
#include "welch.h"

#include <vector>

namespace viewer::trends {

// Seconds read before a block so that its filters have settled at its first segment, and
// after it so that a quiet run reaching past its end is measured whole.
constexpr double kPrerollSeconds = 5.0;
constexpr double kPostrollSeconds = 1.0;

// The aEEG band, the envelope's window and step, the suppression band, level and run.
constexpr double kAeegLowHz = 2.0;
constexpr double kAeegHighHz = 15.0;
constexpr double kEnvelopeSeconds = 0.5;
constexpr double kEnvelopeStepSeconds = 0.125;
constexpr double kQuietLowHz = 0.5;
constexpr double kQuietHighHz = 30.0;
constexpr double kQuietMicrovolts = 5.0;
constexpr double kQuietRunSeconds = 0.5;
// The band of the power compared by the asymmetry.
constexpr double kPowerLowHz = 1.0;
constexpr double kPowerHighHz = 18.0;

class BlockTrends {
public:
    // Computes on `reader` (open) with segments of `segmentSeconds`.
    BlockTrends(LineReader& reader, FftPlans& plans, double segmentSeconds);

    // The trends of segments [first, first + count) of the recording.
    BlockResult compute(int first, int count);

private:
    struct Span {
        size_t begin; // in the block's buffer
        size_t length;
    };
    void spectra(const std::vector<float>& line, const std::vector<Span>& segs, int line0,
                 BlockResult& r);
    void aeeg(const std::vector<float>& line, size_t blockStart, const std::vector<Span>& segs,
              int line0, BlockResult& r);
    void quiet(const std::vector<float>& line, const std::vector<Span>& segs, int line0,
               BlockResult& r);

    LineReader& reader_;
    Welch welch_;
    double rate_;
    int64_t segmentFrames_;
    std::vector<std::vector<float>> lines_;
    std::vector<float> work_;
    std::vector<double> psd_;
};

} // namespace viewer::trends
