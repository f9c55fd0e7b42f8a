#include "line_filter.h"

#include <cmath>

namespace viewer {

void LineFilter::reset() {
    c_ = FilterCoefficients{};
    st_ = FilterState{};
    notchOn_ = false;
    highPassOn_ = false;
}

void LineFilter::configure(double fs, uint8_t notch, uint32_t highPass, uint32_t lowPass) {
    reset();
    const double pi = 4.0 * std::atan(1.0);

    const double f0 = notch == 1 ? 50.0 : notch == 2 ? 60.0 : 99999.0;
    if (notch != 0 && fs / 2.0 > f0) {
        const double w0 = 2.0 * f0 * pi / fs;
        const double r = 1.0 - 2.0 * 6.0 * pi / fs;
        c_.L = -2.0 * std::cos(w0);
        c_.N = r * c_.L;
        c_.M = r * r;
        c_.O = (1.0 + c_.N + c_.M) / (2.0 + c_.L); // gain 1 at 0 Hz
        notchOn_ = true;
    }

    const double fc = lowPass / 100.0;
    if (fs / 2.0 > fc) {
        const double wc = 2.0 * fc * pi / fs;
        const double a = std::sqrt(2.0) - 1.0;
        const double b = 2.0 * std::cos(wc) - 2.0 * std::sqrt(2.0);
        const double p = (-b - std::sqrt(b * b - 4.0 * a * a)) / (2.0 * a);
        c_.J = 2.0 * p;
        c_.I = p * p;
    }

    const double fh = highPass / 1000.0;
    if (fh == 0.0) {
        c_.K = 1.0;
    } else if (fs / 2.0 < fh) {
        c_.K = 0.0;
        highPassOn_ = true;
    } else {
        const double wh = 2.0 * fh * pi / fs;
        const double m = -std::cos(wh);
        const double q = (-2.0 + std::sqrt(4.0 - 4.0 * m * m)) / (2.0 * m);
        c_.K = (1.0 + q) / 2.0;
        highPassOn_ = true;
    }
}

} // namespace viewer
