#include "trace_geometry.h"

#include "derivations.h"

#include <algorithm>
#include <cmath>

namespace viewer {

namespace {

constexpr double kDisplayMillimetres = 200.0;
constexpr double kLowest = -32768.0;
constexpr double kHighest = 32767.0;

} // namespace

double pixelsPerCm(int verticalPixels) { return verticalPixels * 10.0 / kDisplayMillimetres; }

double pixelsPerStep(const DerivationRecord& r, int32_t gain, double pixelsPerCm) {
    if (gain == 0) {
        return 0.0;
    }
    const double k = lineScale(r) * pixelsPerCm / static_cast<double>(gain);
    return std::isfinite(k) ? k : 0.0;
}

int32_t sampleX(int32_t labelWidth, uint32_t l, int32_t traceWidth, uint32_t samples) {
    return labelWidth + static_cast<int32_t>(static_cast<int64_t>(l) * traceWidth /
                                             static_cast<int64_t>(samples));
}

int32_t traceY(int32_t rowCentre, float value, double k) {
    double offset = std::trunc(static_cast<double>(value) * k);
    if (!std::isfinite(offset)) {
        offset = std::isnan(offset) ? 0.0 : std::copysign(65536.0, offset);
    }
    const double y = static_cast<double>(rowCentre) - std::clamp(offset, -65536.0, 65536.0);
    return static_cast<int32_t>(std::clamp(y, kLowest, kHighest));
}

} // namespace viewer
