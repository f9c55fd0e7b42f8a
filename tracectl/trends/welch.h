#pragma once
// Power spectral density by Welch's method through FFTW: Hann windows, half overlapping,
// averaged. Plans are made once per window length, under one lock (FFTW's planner is not
// thread-safe); each Welch object transforms on buffers of its own, so one per thread runs
// in parallel with the others.

#include <fftw3.h>

#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace viewer::trends {

class FftPlans {
public:
    FftPlans() = default;
    ~FftPlans();
    FftPlans(const FftPlans&) = delete;
    FftPlans& operator=(const FftPlans&) = delete;

    // The real-to-complex plan for `n` points (made on first use; the same plan after).
    fftw_plan plan(int n);

private:
    std::mutex mutex_;
    std::map<int, fftw_plan> plans_;
};

class Welch {
public:
    // Windows of `length` points; plans come from `plans`, which must outlive this object.
    Welch(FftPlans& plans, int length);

    int length() const { return length_; }
    // Number of bins (length / 2 + 1); bin k is at k x rate / length Hz.
    int bins() const { return length_ / 2 + 1; }

    // The one-sided density (unit² per Hz) of `values` sampled at `rateHz` into `psd`
    // (bins() values): each window's mean taken away, Hann-weighted, transformed, the
    // squared magnitudes averaged over the windows that fit, starting every length / 2
    // points. Returns the number of windows; 0 (and psd all 0) when none fits.
    int density(std::span<const float> values, double rateHz, std::span<double> psd);

private:
    struct FreeFftw {
        void operator()(void* p) const { fftw_free(p); }
    };
    int length_;
    fftw_plan plan_;
    std::vector<double> window_;
    double windowPower_ = 0.0; // sum of the squared window
    std::unique_ptr<double, FreeFftw> in_;
    std::unique_ptr<fftw_complex, FreeFftw> out_;
};

} // namespace viewer::trends
