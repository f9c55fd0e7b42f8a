// What each stage of a line's filter chain does to signals: measured, not recomputed.

#include "filter_bank.h"
#include "line_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

namespace viewer {
namespace {

constexpr double kRate = 256.0;
constexpr uint32_t kOpen = 100000; // a low-pass at 1000 Hz: above half the rate

LineFilter configured(uint8_t notch, uint32_t highPass, uint32_t lowPass, double fs = kRate) {
    LineFilter f;
    f.configure(fs, notch, highPass, lowPass);
    return f;
}

std::vector<double> run(LineFilter& f, const std::function<double(int)>& input, int samples) {
    std::vector<double> out;
    for (int n = 0; n < samples; ++n) {
        out.push_back(f.step(input(n)));
    }
    return out;
}

// Gain in dB for a sine of `hz`, measured over `measure` seconds after `settle`.
double gainDb(LineFilter f, double hz, int settle, int measure) {
    const auto sine = [hz](int n) {
        return 1000.0 * std::sin(2.0 * std::acos(-1.0) * hz * n / kRate);
    };
    const std::vector<double> out = run(f, sine, static_cast<int>(kRate) * (settle + measure));
    double in2 = 0.0;
    double out2 = 0.0;
    for (size_t n = static_cast<size_t>(kRate) * settle; n < out.size(); ++n) {
        in2 += sine(static_cast<int>(n)) * sine(static_cast<int>(n));
        out2 += out[n] * out[n];
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
    const Case cases[] = {{1, 0, kOpen, 50, -999, -20},    {1, 0, kOpen, 10, -1, 0.5},
                          {1, 0, kOpen, 90, -1, 0.5},     {2, 0, kOpen, 60, -999, -20},
                          {2, 0, kOpen, 50, -6, 0.5},     {0, 0, 7000, 10, -0.5, 0.5},
                          {0, 0, 7000, 70, -3.2, -2.8},   {0, 0, 7000, 120, -999, -4},
                          {0, 0, 1500, 15, -3.2, -2.8},   {0, 0, 1500, 60, -999, -15},
                          {0, 530, kOpen, 10, -0.5, 0.5}, {0, 530, kOpen, 0.53, -3.2, -2.8},
                          {0, 530, kOpen, 0.1, -999, -10}};
    for (const Case& c : cases) {
        const int settle = c.hz < 1.0 ? 20 : 4;
        const double db =
            gainDb(configured(c.notch, c.highPass, c.lowPass), c.hz, settle, 2 * settle);
        EXPECT_TRUE(db >= c.minDb && db <= c.maxDb)
            << db << " dB at " << c.hz << " Hz, notch " << int(c.notch) << ", " << c.highPass
            << ", " << c.lowPass;
    }
}

TEST(LineFilter, ConstantsPassTheNotchAndLowPassAndTheHighPassRemovesThem) {
    LineFilter notch = configured(1, 0, kOpen);
    EXPECT_NEAR(run(
                    notch, [](int) { return 500.0; }, 1024)
                    .back(),
                500.0, 1e-6);
    LineFilter lowPass = configured(0, 0, 7000);
    const std::vector<double> out = run(
        lowPass, [](int) { return 1234.0; }, 512);
    EXPECT_NE(out.front(), 1234.0); // the transient
    EXPECT_NEAR(out.back(), 1234.0, 1e-9);
    LineFilter highPass = configured(0, 530, kOpen);
    EXPECT_LT(std::fabs(run(
                            highPass, [](int) { return 32768.0; }, 2560)
                            .back()),
              1e-3);
    // Above half the rate the high-pass gives 0; a cut-off at a quarter stays finite.
    LineFilter flat = configured(0, 300000, kOpen);
    LineFilter quarter = configured(0, 64000, kOpen);
    for (int n = 0; n < 256; ++n) {
        EXPECT_EQ(flat.step(std::sin(n) * 100.0), 0.0);
        ASSERT_TRUE(std::isfinite(quarter.step(std::sin(n) * 100.0)));
    }
}

TEST(LineFilter, StagesThatCannotWorkPassTheirInputExactly) {
    // 60 Hz at 100 per second, 50 Hz at exactly 100, an unknown notch code, low-pass at or
    // above half the rate, high-pass off.
    LineFilter cases[] = {configured(2, 0, kOpen, 100.0), configured(1, 0, kOpen, 100.0),
                          configured(7, 0, kOpen), configured(0, 0, 12800),
                          configured(0, 0, 20000)};
    for (LineFilter& f : cases) {
        EXPECT_FALSE(f.notchOn());
        for (int n = 0; n < 100; ++n) {
            const double s = std::sin(n) * 1e6 + 0.125;
            ASSERT_EQ(f.step(s), s) << n;
        }
    }
}

TEST(FilterBank, ComputesTheGivenLinesAndResetsTheOthers) {
    FilterBank bank;
    const uint32_t highPass[] = {530, 0};
    const uint32_t lowPass[] = {7000, 3000};
    bank.recompute(kRate, 1, highPass, lowPass);
    EXPECT_TRUE(bank.line(0).notchOn());
    EXPECT_LT(bank.line(0).coefficients().K, 1.0);
    EXPECT_EQ(bank.line(1).coefficients().K, 1.0);
    EXPECT_NE(bank.line(1).coefficients().J, bank.line(0).coefficients().J);
    for (int n = 0; n < 20; ++n) {
        bank.line(0).step(100.0 + n);
        bank.line(2).step(100.0 + n);
    }
    // A new computation clears the state; slots past the montage's lines pass their input.
    bank.recompute(kRate, 0, std::span(highPass, 1), std::span(lowPass, 1));
    EXPECT_EQ(bank.line(0).state().t1, 0.0);
    EXPECT_FALSE(bank.line(0).notchOn());
    EXPECT_EQ(bank.line(1).step(42.5), 42.5);
    EXPECT_EQ(bank.line(2).state().t1, 0.0);
    EXPECT_EQ(bank.line(255).step(-7.0), -7.0);
}

} // namespace
} // namespace viewer
