#include "scroll_value.h"

#include <cmath>

namespace scrollbar {

namespace {
// Beyond this a double has no room left for thousandths, and v * 1000 could overflow.
constexpr double kWholeOnly = 1e15;
} // namespace

double roundHalfEven(double v) {
    // The default floating-point rounding mode rounds halves to even.
    return std::nearbyint(v);
}

double truncateToThousandths(double v) {
    if (!std::isfinite(v) || std::fabs(v) >= kWholeOnly) {
        return v;
    }
    return std::trunc(v * 1000.0) / 1000.0;
}

double acceptedValue(double v, int32_t min, int32_t max, double largeChange) {
    if (!std::isfinite(v) || v < min) {
        v = min;
    }
    if (v + largeChange > max) {
        v = max - largeChange;
    }
    const double step = largeChange >= 1 ? 1.0 : largeChange;
    v = roundHalfEven(v / step) * step;
    return v < 0 || std::isnan(v) ? 0.0 : v;
}

} // namespace scrollbar
