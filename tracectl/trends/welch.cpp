#include "welch.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace viewer::trends {

namespace {

// FFTW's planner keeps state of its own shared by every plan of the process: all planning
// and destroying goes through this one lock, whichever FftPlans asks.
std::mutex& plannerLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

FftPlans::~FftPlans() {
    const std::lock_guard planner(plannerLock());
    for (auto& [n, p] : plans_) {
        fftw_destroy_plan(p);
    }
}

fftw_plan FftPlans::plan(int n) {
    const std::lock_guard own(mutex_);
    const auto it = plans_.find(n);
    if (it != plans_.end()) {
        return it->second;
    }
    const std::lock_guard planner(plannerLock());
    // Planned on arrays of FFTW's own alignment, which every Welch buffer shares.
    double* in = fftw_alloc_real(static_cast<size_t>(n));
    fftw_complex* out = fftw_alloc_complex(static_cast<size_t>(n / 2 + 1));
    const fftw_plan p = fftw_plan_dft_r2c_1d(n, in, out, FFTW_ESTIMATE | FFTW_DESTROY_INPUT);
    fftw_free(in);
    fftw_free(out);
    plans_.emplace(n, p);
    return p;
}

Welch::Welch(FftPlans& plans, int length)
    : length_(std::max(length, 2)), plan_(plans.plan(length_)),
      window_(static_cast<size_t>(length_)), in_(fftw_alloc_real(static_cast<size_t>(length_))),
      out_(fftw_alloc_complex(static_cast<size_t>(bins()))) {
    for (int i = 0; i < length_; ++i) {
        const double w = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / length_);
        window_[static_cast<size_t>(i)] = w;
        windowPower_ += w * w;
    }
}

int Welch::density(std::span<const float> values, double rateHz, std::span<double> psd) {
    std::fill(psd.begin(), psd.end(), 0.0);
    const auto n = static_cast<size_t>(length_);
    const size_t hop = std::max<size_t>(n / 2, 1);
    const auto bins = std::min(psd.size(), static_cast<size_t>(this->bins()));
    int windows = 0;
    for (size_t at = 0; at + n <= values.size(); at += hop, ++windows) {
        const std::span<const float> w = values.subspan(at, n);
        double mean = 0.0;
        for (float v : w) {
            mean += v;
        }
        mean /= static_cast<double>(n);
        double* in = in_.get();
        for (size_t i = 0; i < n; ++i) {
            in[i] = (w[i] - mean) * window_[i];
        }
        fftw_execute_dft_r2c(plan_, in, out_.get());
        const fftw_complex* out = out_.get();
        for (size_t k = 0; k < bins; ++k) {
            psd[k] += out[k][0] * out[k][0] + out[k][1] * out[k][1];
        }
    }
    if (windows == 0) {
        return 0;
    }
    // One-sided: every bin but 0 and the Nyquist bin (of an even length) counts twice.
    const double scale = 1.0 / (rateHz * windowPower_ * windows);
    for (size_t k = 0; k < bins; ++k) {
        const bool single = k == 0 || (n % 2 == 0 && k == n / 2);
        psd[k] *= single ? scale : 2.0 * scale;
    }
    return windows;
}

} // namespace viewer::trends
