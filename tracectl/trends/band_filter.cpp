#include "band_filter.h"

#include <cmath>
#include <numbers>

namespace viewer::trends {

namespace {

// The Q of the two sections of a fourth-order Butterworth filter.
constexpr std::array<double, 2> kButterworthQ = {0.54119610014619701, 1.3065629648763766};

} // namespace

BandFilter::BandFilter(double lowHz, double highHz, double rateHz) {
    // Bilinear transform with the edge pre-warped, second-order sections.
    const auto section = [rateHz](bool highPass, double hz, double q) {
        const double w = 2.0 * std::numbers::pi * hz / rateHz;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        const double c = std::cos(w);
        const double edge = highPass ? (1.0 + c) / 2.0 : (1.0 - c) / 2.0;
        const double middle = highPass ? -(1.0 + c) : 1.0 - c;
        return Section{edge / a0, middle / a0, edge / a0, -2.0 * c / a0, (1.0 - alpha) / a0};
    };
    for (double q : kButterworthQ) {
        sections_[count_++] = section(true, lowHz, q);
    }
    for (double q : kButterworthQ) {
        if (highHz < rateHz / 2.0) {
            sections_[count_++] = section(false, highHz, q);
        }
    }
}

void BandFilter::run(std::span<float> values) {
    for (int s = 0; s < count_; ++s) {
        Section& f = sections_[s];
        double z1 = f.z1;
        double z2 = f.z2;
        for (float& v : values) {
            // Transposed direct form II.
            const double x = v;
            const double y = f.b0 * x + z1;
            z1 = f.b1 * x - f.a1 * y + z2;
            z2 = f.b2 * x - f.a2 * y;
            v = static_cast<float>(y);
        }
        f.z1 = z1;
        f.z2 = z2;
    }
}

void BandFilter::reset() {
    for (Section& f : sections_) {
        f.z1 = 0;
        f.z2 = 0;
    }
}

} // namespace viewer::trends
