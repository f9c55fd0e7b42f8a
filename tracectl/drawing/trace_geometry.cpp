#include "trace_geometry.h"

#include "derivations.h"

#include <cmath>

namespace viewer {

namespace {

constexpr double kDisplayMillimetres = 200.0;

} // namespace

double pixelsPerCm(int verticalPixels) { return verticalPixels * 10.0 / kDisplayMillimetres; }

double pixelsPerStep(const DerivationRecord& r, int32_t gain, double pixelsPerCm) {
    if (gain == 0) {
        return 0.0;
    }
    const double k = lineScale(r) * pixelsPerCm / static_cast<double>(gain);
    return std::isfinite(k) ? k : 0.0;
}

} // namespace viewer
