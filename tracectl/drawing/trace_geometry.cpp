#include "trace_geometry.h"

#include "derivations.h"

#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

int32_t traceYs(std::span<const float> values, int32_t rowCentre, double k, std::span<int32_t> ys) {
    int32_t bottom = -32768;
    size_t i = 0;
#if defined(__SSE2__)
    // The steps of traceY with the same results: min and max return their second operand
    // for NaN, so NaN passes both limits and is then masked to 0.
    const __m128d scale = _mm_set1_pd(k);
    const __m128d row = _mm_set1_pd(static_cast<double>(rowCentre));
    const __m128d high = _mm_set1_pd(65536.0);
    const __m128d low = _mm_set1_pd(-65536.0);
    const __m128d top = _mm_set1_pd(-32768.0);
    const __m128d end = _mm_set1_pd(32767.0);
    __m128d lowest = top;
    for (; i + 2 <= values.size(); i += 2) {
        // Two floats as one 8-byte load; the span need not start on an 8-byte boundary.
        double bits = 0.0;
        std::memcpy(&bits, &values[i], sizeof bits);
        const __m128 pair = _mm_castpd_ps(_mm_set_sd(bits));
        __m128d scaled = _mm_mul_pd(_mm_cvtps_pd(pair), scale);
        scaled = _mm_min_pd(high, scaled);
        scaled = _mm_max_pd(low, scaled);
        scaled = _mm_and_pd(scaled, _mm_cmpeq_pd(scaled, scaled));
        __m128d y = _mm_sub_pd(row, _mm_cvtepi32_pd(_mm_cvttpd_epi32(scaled)));
        y = _mm_min_pd(_mm_max_pd(y, top), end);
        lowest = _mm_max_pd(lowest, y);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(&ys[i]), _mm_cvttpd_epi32(y));
    }
    const __m128d other = _mm_unpackhi_pd(lowest, lowest);
    bottom = _mm_cvttsd_si32(_mm_max_sd(lowest, other));
#endif
    for (; i < values.size(); ++i) {
        ys[i] = traceY(rowCentre, values[i], k);
        bottom = std::max(bottom, ys[i]);
    }
    return bottom;
}

void SampleColumns::build(int32_t labelWidth, int32_t traceWidth, uint32_t samples,
                          uint32_t count) {
    x.clear();
    start.clear();
    shortest = longest = 0;
    if (samples == 0 || count == 0) {
        start.push_back(0);
        return;
    }
    SampleXWalk walk(labelWidth, traceWidth, samples);
    for (uint32_t l = 0; l < count; ++l, walk.next()) {
        if (x.empty() || walk.x() != x.back()) {
            x.push_back(walk.x());
            start.push_back(l);
        }
    }
    start.push_back(count);
    shortest = count;
    for (size_t r = 0; r < x.size(); ++r) {
        shortest = std::min(shortest, start[r + 1] - start[r]);
        longest = std::max(longest, start[r + 1] - start[r]);
    }
}

} // namespace viewer
