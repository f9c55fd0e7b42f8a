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
constexpr uint32_t kOff = 0;
constexpr uint32_t kNoLowPass = 100000; // 1000 Hz: above half the rate

std::vector<double> run(LineFilter& f, const std::function<double(int)>& input, int samples) {
    std::vector<double> out;
    out.reserve(samples);
    for (int n = 0; n < samples; ++n) {
        out.push_back(f.step(input(n)));
    }
    return out;
}

std::function<double(int)> sine(double hz, double amplitude = 1000.0) {
    return [=](int n) { return amplitude * std::sin(2.0 * std::acos(-1.0) * hz * n / kRate); };
}

double rms(const std::vector<double>& v, size_t from) {
    double sum = 0.0;
    for (size_t i = from; i < v.size(); ++i) {
        sum += v[i] * v[i];
    }
    return std::sqrt(sum / static_cast<double>(v.size() - from));
}

// Gain in dB of `f` for a sine of `hz`, measured over `measure` seconds after `settle`.
double gainDb(LineFilter f, double hz, int settle = 4, int measure = 4) {
    const int samples = static_cast<int>(kRate) * (settle + measure);
    const std::vector<double> out = run(f, sine(hz), samples);
    std::vector<double> in;
    for (int n = 0; n < samples; ++n) {
        in.push_back(sine(hz)(n));
    }
    const size_t from = static_cast<size_t>(kRate) * settle;
    return 20.0 * std::log10(rms(out, from) / rms(in, from));
}

LineFilter configured(uint8_t notch, uint32_t highPass, uint32_t lowPass, double fs = kRate) {
    LineFilter f;
    f.configure(fs, notch, highPass, lowPass);
    return f;
}

TEST(Notch, RemovesTheMainsFrequencyAndPassesDirectCurrent) {
    const LineFilter fifty = configured(1, kOff, kNoLowPass);
    EXPECT_TRUE(fifty.notchOn());
    EXPECT_LE(gainDb(fifty, 50.0), -20.0);
    EXPECT_GT(gainDb(fifty, 10.0), -1.0);
    EXPECT_GT(gainDb(fifty, 90.0), -1.0);

    LineFilter constant = fifty;
    const std::vector<double> out = run(
        constant, [](int) { return 500.0; }, 1024);
    EXPECT_NEAR(out.back(), 500.0, 1e-6);

    const LineFilter sixty = configured(2, kOff, kNoLowPass);
    EXPECT_LE(gainDb(sixty, 60.0), -20.0);
    EXPECT_GT(gainDb(sixty, 50.0), -6.0);
}

TEST(Notch, PassesItsInputWhenItCannotWorkAtThisRate) {
    // 60 Hz at 100 samples per second, 50 Hz at exactly 100, and an unknown notch code.
    const LineFilter cases[] = {configured(2, kOff, kNoLowPass, 100.0),
                                configured(1, kOff, kNoLowPass, 100.0),
                                configured(7, kOff, kNoLowPass)};
    for (LineFilter f : cases) {
        EXPECT_FALSE(f.notchOn());
        for (int n = 0; n < 50; ++n) {
            const double s = (n * 37) % 101 - 50;
            EXPECT_EQ(f.step(s), s);
        }
    }
}

TEST(LowPass, PassesDirectCurrentAndCutsHighFrequencies) {
    const LineFilter seventy = configured(0, kOff, 7000);
    LineFilter constant = seventy;
    const std::vector<double> out = run(
        constant, [](int) { return 1234.0; }, 512);
    EXPECT_NE(out.front(), 1234.0); // the transient
    EXPECT_NEAR(out.back(), 1234.0, 1e-9);
    EXPECT_GT(gainDb(seventy, 10.0), -0.5);
    EXPECT_NEAR(gainDb(seventy, 70.0), -3.0, 0.2); // the cut-off is the half-power point
    EXPECT_LT(gainDb(seventy, 120.0), -4.0);

    const LineFilter fifteen = configured(0, kOff, 1500);
    EXPECT_NEAR(gainDb(fifteen, 15.0), -3.0, 0.2);
    EXPECT_LT(gainDb(fifteen, 60.0), -15.0);

    // At or above half the rate the stage passes its input unchanged.
    for (uint32_t lowPass : {12800u, 20000u}) {
        LineFilter f = configured(0, kOff, lowPass);
        for (int n = 0; n < 50; ++n) {
            EXPECT_EQ(f.step(n * n - 300.0), n * n - 300.0);
        }
    }
}

TEST(HighPass, RemovesAnOffsetAndKeepsTheSignal) {
    LineFilter offset = configured(0, 530, kNoLowPass);
    const std::vector<double> out = run(
        offset, [](int) { return 32768.0; }, 10 * 256);
    EXPECT_LT(std::fabs(out.back()), 1e-3);
    const LineFilter tc = configured(0, 530, kNoLowPass);
    EXPECT_GT(gainDb(tc, 10.0), -0.5);
    EXPECT_NEAR(gainDb(tc, 0.53, 20, 40), -3.0, 0.2);
    EXPECT_LT(gainDb(tc, 0.1, 20, 40), -10.0);

    // A cut-off at a quarter of the rate still gives finite values.
    LineFilter quarter = configured(0, 64000, kNoLowPass);
    for (double v : run(quarter, sine(20.0), 256)) {
        ASSERT_TRUE(std::isfinite(v));
    }
}

TEST(HighPass, OffPassesExactlyAndAboveHalfTheRateGivesZero) {
    LineFilter off = configured(0, 0, kNoLowPass);
    for (int n = 0; n < 100; ++n) {
        const double s = std::sin(n) * 1e6 + 0.125;
        EXPECT_EQ(off.step(s), s);
    }
    // With the low-pass on, switching the high-pass off leaves the low-pass output as is.
    LineFilter lowOnly = configured(0, 0, 3000);
    LineFilter reference = configured(0, 0, 3000);
    for (int n = 0; n < 100; ++n) {
        EXPECT_EQ(lowOnly.step(n % 7), reference.step(n % 7));
    }
    LineFilter flat = configured(0, 300000, kNoLowPass);
    for (double v : run(flat, sine(20.0), 256)) {
        EXPECT_EQ(v, 0.0);
    }
}

TEST(FilterChain, StateCarriesOnUntilTheCoefficientsAreComputedAgain) {
    const auto signal = [](int n) { return 1000.0 + 300.0 * std::sin(n * 0.3) + (n % 11); };
    LineFilter whole = configured(1, 530, 7000);
    const std::vector<double> continuous = run(whole, signal, 600);

    // Two consecutive pages through one chain give the same values as one run.
    LineFilter paged = configured(1, 530, 7000);
    std::vector<double> pages = run(paged, signal, 300);
    LineFilter secondHalf = paged;
    for (int n = 300; n < 600; ++n) {
        pages.push_back(secondHalf.step(signal(n)));
    }
    EXPECT_EQ(pages, continuous);

    // A new coefficient computation starts again from cleared state.
    secondHalf.configure(kRate, 1, 530, 7000);
    const FilterState cleared = secondHalf.state();
    EXPECT_EQ(cleared.x1, 0.0);
    EXPECT_EQ(cleared.t1, 0.0);
    EXPECT_EQ(cleared.z1, 0.0);
    EXPECT_EQ(run(secondHalf, signal, 600), continuous);
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
    bank.recompute(kRate, 0, std::span(highPass, 1), std::span(lowPass, 1));
    EXPECT_EQ(bank.line(0).state().t1, 0.0);
    EXPECT_FALSE(bank.line(0).notchOn());
    // Slots past the montage's lines pass their input.
    EXPECT_EQ(bank.line(1).step(42.5), 42.5);
    EXPECT_EQ(bank.line(2).state().t1, 0.0);
    EXPECT_EQ(bank.line(255).step(-7.0), -7.0);
}

} // namespace
} // namespace viewer
