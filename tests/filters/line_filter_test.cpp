// What each stage of a line's filter chain does to signals: measured, not recomputed.

#include "filter_pair.h"
#include "line_filter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace viewer {
namespace {

constexpr double kRate = 256.0;
constexpr uint32_t kOpen = 100000; // a low-pass at 1000 Hz: above half the rate

LineFilter configured(uint8_t notch, uint32_t highPass, uint32_t lowPass, double fs = kRate) {
    LineFilter f;
    f.configure(fs, notch, highPass, lowPass);
    return f;
}

// Gain in dB of `f` for a sine of `hz`, measured over 2 x `settle` seconds after `settle`.
double gainDb(LineFilter f, double hz, int settle) {
    double in2 = 0.0;
    double out2 = 0.0;
    for (int n = 0; n < 3 * settle * static_cast<int>(kRate); ++n) {
        const double s = 1000.0 * std::sin(2.0 * std::acos(-1.0) * hz * n / kRate);
        const double out = f.step(s);
        if (n >= settle * kRate) {
            in2 += s * s;
            out2 += out * out;
        }
    }
    return 10.0 * std::log10(out2 / in2);
}

TEST(LineFilter, EachStagePassesAndCutsWhereItShould) {
    struct Case {
        uint8_t notch;
        uint32_t highPass, lowPass;
        double hz, minDb, maxDb;
    };
    // The notch removes its mains frequency; the cut-offs are the half-power points.
    const Case cases[] = {{1, 0, kOpen, 50, -999, -20},   {1, 0, kOpen, 10, -1, 0.5},
                          {1, 0, kOpen, 90, -1, 0.5},     {2, 0, kOpen, 60, -999, -20},
                          {2, 0, kOpen, 50, -6, 0.5},     {0, 0, 7000, 10, -0.5, 0.5},
                          {0, 0, 7000, 70, -3.2, -2.8},   {0, 0, 7000, 120, -999, -4},
                          {0, 0, 1500, 15, -3.2, -2.8},   {0, 0, 1500, 60, -999, -15},
                          {0, 530, kOpen, 10, -0.5, 0.5}, {0, 530, kOpen, 0.53, -3.2, -2.8},
                          {0, 530, kOpen, 0.1, -999, -10}};
    for (const Case& c : cases) {
        const double db =
            gainDb(configured(c.notch, c.highPass, c.lowPass), c.hz, c.hz < 1 ? 20 : 4);
        EXPECT_TRUE(db >= c.minDb && db <= c.maxDb)
            << db << " dB at " << c.hz << " Hz, notch " << int(c.notch) << ", " << c.highPass
            << ", " << c.lowPass;
    }
}

TEST(LineFilter, StagesThatCannotWorkPassTheirInputExactlyAndAConstantPassesOrGoes) {
    // 60 Hz at 100 per second, 50 Hz at exactly 100, an unknown notch code, low-pass at or
    // above half the rate, high-pass off.
    LineFilter same[] = {configured(2, 0, kOpen, 100.0), configured(1, 0, kOpen, 100.0),
                         configured(7, 0, kOpen), configured(0, 0, 12800), configured(0, 0, 20000)};
    for (LineFilter& f : same) {
        EXPECT_FALSE(f.notchOn());
        for (int n = 0; n < 100; ++n) {
            const double s = std::sin(n) * 1e6 + 0.125;
            ASSERT_EQ(f.step(s), s) << n;
        }
    }
    // Notch and low-pass pass a constant; the high-pass removes it, above half the rate
    // it gives 0 for everything, and a cut-off at a quarter of the rate stays finite.
    LineFilter notch = configured(1, 0, 7000);
    LineFilter highPass = configured(0, 530, kOpen);
    LineFilter flat = configured(0, 300000, kOpen);
    LineFilter quarter = configured(0, 64000, kOpen);
    for (int n = 0; n < 2560; ++n) {
        const double a = notch.step(500.0);
        const double b = highPass.step(32768.0);
        ASSERT_EQ(flat.step(std::sin(n) * 100.0), 0.0);
        ASSERT_TRUE(std::isfinite(quarter.step(std::sin(n) * 100.0)));
        if (n == 2559) {
            EXPECT_NEAR(a, 500.0, 1e-6);
            EXPECT_NEAR(b, 0.0, 1e-3);
        }
    }
}

#if defined(__SSE2__)
TEST(LineFilter, TwoChainsRunAsAPairGiveEachChainsOwnValuesToTheLastBit) {
    // Every mix of notch and high-pass on and off in the two lanes, through a pair and
    // alone, then on alone from the state the pair handed back.
    const LineFilter kinds[] = {configured(1, 530, 7000), configured(0, 0, 3000),
                                configured(2, 0, kOpen), configured(0, 160, kOpen)};
    for (const LineFilter& a : kinds) {
        for (const LineFilter& b : kinds) {
            LineFilter pairedA = a, pairedB = b, aloneA = a, aloneB = b;
            FilterPair pair(pairedA, pairedB);
            for (int n = 0; n < 500; ++n) {
                const double sa = std::sin(n * 0.3) * 3000.0 + n, sb = std::cos(n * 0.7) * 80.0;
                const __m128d z = pair.step(_mm_set_pd(sb, sa));
                ASSERT_EQ(_mm_cvtsd_f64(z), aloneA.step(sa)) << n;
                ASSERT_EQ(_mm_cvtsd_f64(_mm_unpackhi_pd(z, z)), aloneB.step(sb)) << n;
            }
            pair.finish();
            EXPECT_EQ(pairedA.step(1.5), aloneA.step(1.5));
            EXPECT_EQ(pairedB.step(-2.5), aloneB.step(-2.5));
        }
    }
}
#endif

} // namespace
} // namespace viewer
