#pragma once
// The filter chain of one displayed line: an optional mains notch, a two-pole low-pass and
// a one-pole high-pass, recursive filters in double precision with their state kept from
// sample to sample and from page to page.

#include <cstdint>

namespace viewer {

struct FilterCoefficients {
    // Notch: L, N, M, O (pass values L = N = M = 0, O = 1).
    double L = 0.0;
    double N = 0.0;
    double M = 0.0;
    double O = 1.0;
    // Low-pass: J, I (0 and 0 pass the input).
    double J = 0.0;
    double I = 0.0;
    // High-pass: K (1 passes the input, 0 gives 0).
    double K = 1.0;
};

struct FilterState {
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0; // notch: last inputs and outputs
    double t1 = 0.0, t2 = 0.0;                     // low-pass: last outputs
    double z1 = 0.0, w1 = 0.0;                     // high-pass: last output and input
};

class LineFilter {
public:
    // Computes the coefficients for sampling rate `fs` (Hz) and clears the state.
    // `notch`: 0 off, 1 = 50 Hz, 2 = 60 Hz; the notch stage passes its input when it is
    // off, when `notch` is any other value, or when its frequency is not below fs / 2.
    // `highPass` in thousandths of a hertz (0 = off; above fs / 2 the line is flat);
    // `lowPass` in hundredths of a hertz (at or above fs / 2 the stage passes its input).
    void configure(double fs, uint8_t notch, uint32_t highPass, uint32_t lowPass);

    // Pass values everywhere and cleared state.
    void reset();

    // One sample through notch, low-pass and high-pass.
    double step(double s) {
        double u = s;
        if (notchOn_) {
            u = c_.O * (s + c_.L * st_.x1 + st_.x2) - c_.N * st_.y1 - c_.M * st_.y2;
            st_.y2 = st_.y1;
            st_.y1 = u;
            st_.x2 = st_.x1;
            st_.x1 = s;
        }
        const double t = u + c_.J * (st_.t1 - u) + c_.I * (u - st_.t2);
        st_.t2 = st_.t1;
        st_.t1 = t;
        const double z = highPassOn_ ? c_.K * (2.0 * st_.z1 + t - st_.w1) - st_.z1 : t;
        st_.z1 = z;
        st_.w1 = t;
        return z;
    }

    const FilterCoefficients& coefficients() const { return c_; }
    const FilterState& state() const { return st_; }
    bool notchOn() const { return notchOn_; }

private:
    friend class FilterPair; // runs two chains at once with the same operations

    FilterCoefficients c_;
    FilterState st_;
    bool notchOn_ = false;
    bool highPassOn_ = false; // off: the stage passes its input exactly
};

} // namespace viewer
