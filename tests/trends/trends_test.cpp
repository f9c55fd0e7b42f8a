// The trends of synthetic recordings against values worked out by hand: a sine's density in
// its bin, the aEEG margins of a sine and a fourth-order Butterworth edge, the asymmetry of a
// right side of twice the amplitude, the suppression of flat and of ordinary EEG, the cache.

#include "temp_dir.h"
#include "trend_cache.h"
#include "trend_engine.h"
#include "trend_recordings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>

namespace viewer::trends {
namespace {

using testing::TempDir;
using testing::tenTwenty;
using testing::tenTwentyRecording;

constexpr double kTwoPi = 2.0 * std::numbers::pi;

int electrode(const std::string& name) {
    const auto& n = tenTwenty();
    return static_cast<int>(std::find(n.begin(), n.end(), name) - n.begin());
}

TrendMontage doubleBanana() {
    return chooseMontage(tenTwenty(), TrendMontage{"on screen", MontageRecord{}});
}

TrendData computeTrends(const std::string& path, double segment = 10.0) {
    TrendEngine engine;
    std::string error;
    EXPECT_TRUE(engine.open({path, doubleBanana(), segment, 0.0, 2, false}, error)) << error;
    engine.start({}, {});
    engine.wait();
    return engine.result();
}

int lineOf(const TrendData& d, const std::string& label) {
    const auto& l = d.layout.labels;
    const auto it = std::find(l.begin(), l.end(), label);
    EXPECT_NE(it, l.end()) << label;
    return static_cast<int>(it - l.begin());
}

// A deterministic noise of about `rms` µV, different for each seed.
double noise(double t, int seed, double rms) {
    double v = 0.0;
    for (int k = 1; k <= 12; ++k) {
        const double f = 0.7 * k + 0.37 * seed;
        v += std::sin(kTwoPi * f * t + 1.3 * k * (seed + 1));
    }
    return v * rms / std::sqrt(6.0);
}

TEST(Trends, SpectralPeakInItsBinAtTheSinesDensity) {
    // Fp1, Fp2 and O1 each carry one sine; their neighbours in the chains are silent.
    struct Case {
        const char* line;
        const char* electrode;
        double hz, amplitude;
    };
    const Case cases[] = {
        {"Fp1-F7", "Fp1", 10.0, 50.0}, {"Fp2-F8", "Fp2", 3.5, 20.0}, {"P7-O1", "O1", 22.0, 80.0}};
    TempDir dir;
    const std::string path = dir.file("sines.vwr");
    testing::writeRecording(path, tenTwentyRecording(256, 40, [&](double t, int e) {
                                for (const Case& c : cases) {
                                    if (e == electrode(c.electrode)) {
                                        return c.amplitude * std::sin(kTwoPi * c.hz * t);
                                    }
                                }
                                return 0.0;
                            }));
    const TrendData d = computeTrends(path);
    ASSERT_EQ(d.segments, 4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const int line = lineOf(d, c.line);
        const int bin = static_cast<int>(std::lround(c.hz / kBinHz)) - 1;
        // A Hann window's equivalent noise band is 1.5 bins of 0.5 Hz: the sine's power
        // A²/2 spread over 0.75 Hz; the next bins see half its amplitude (-6 dB).
        const double peakDb = 10.0 * std::log10(c.amplitude * c.amplitude / 2.0 / 0.75);
        for (int s = 0; s < d.segments; ++s) {
            int best = 0;
            for (int b = 1; b < kBins; ++b) {
                best = d.db(s, line, b) > d.db(s, line, best) ? b : best;
            }
            EXPECT_EQ(best, bin);
            EXPECT_NEAR(d.db(s, line, bin), peakDb, 0.1);
            EXPECT_NEAR(d.db(s, line, bin + 1), peakDb - 6.02, 0.2);
        }
    }
    // A silent line sits at the floor of the scale.
    EXPECT_NEAR(d.db(0, lineOf(d, "C4-P4"), 20), -60.0, 0.01);
}

TEST(Trends, AeegMarginsOfSinesAndTheAttenuationBelowTheBand) {
    // Fp1 holds a 10 Hz sine of 50 µV for the first 30 s, then a 1 Hz sine of 50 µV.
    TempDir dir;
    const std::string path = dir.file("aeeg.vwr");
    testing::writeRecording(path, tenTwentyRecording(256, 60, [](double t, int e) {
                                return e != 0 ? 0.0
                                              : 50.0 * std::sin(kTwoPi * (t < 30 ? 10.0 : 1.0) * t);
                            }));
    const TrendData d = computeTrends(path);
    const int line = lineOf(d, "Fp1-F7");
    for (int s : {0, 1, 2}) {
        EXPECT_NEAR(d.lower[d.at(s, line)], 100.0, 3.0) << s;
        EXPECT_NEAR(d.upper[d.at(s, line)], 100.0, 3.0) << s;
    }
    // Fourth-order Butterworth high-pass at 2 Hz: |H(1 Hz)| = 1 / sqrt(1 + 2^8).
    const double gain = 1.0 / std::sqrt(1.0 + std::pow(2.0, 8));
    for (int s : {4, 5}) {
        EXPECT_NEAR(d.upper[d.at(s, line)], 100.0 * gain, 100.0 * gain * 0.15) << s;
    }
}

TEST(Trends, AsymmetryOfARightSideOfTwiceTheAmplitude) {
    // Every right electrode holds twice the signal of its left homologue; the midline its own.
    TempDir dir;
    const std::string path = dir.file("asym.vwr");
    testing::writeRecording(path, tenTwentyRecording(256, 30, [](double t, int e) {
                                const std::string& n = tenTwenty()[static_cast<size_t>(e)];
                                const char last = n.back();
                                if (last == 'z') {
                                    return noise(t, e, 20.0);
                                }
                                const int number = last - '0';
                                if (number % 2 == 1) {
                                    return noise(t, e, 20.0);
                                }
                                const std::string left =
                                    n.substr(0, n.size() - 1) + std::to_string(number - 1);
                                return 2.0 * noise(t, electrode(left), 20.0);
                            }));
    const TrendData d = computeTrends(path);
    ASSERT_EQ(d.layout.pairs.size(), 8u);
    for (size_t p = 0; p < d.layout.pairs.size(); ++p) {
        for (int s = 0; s < d.segments; ++s) {
            EXPECT_NEAR(d.asymmetry(s, static_cast<int>(p)), 0.6, 0.002) << d.layout.pairs[p].name;
        }
    }
}

TEST(Trends, SuppressionOfFlatAndOfOrdinaryEeg) {
    // 20 s flat, then 20 s of EEG of about 30 µV with a 10 Hz rhythm.
    TempDir dir;
    const std::string path = dir.file("flat.vwr");
    testing::writeRecording(path, tenTwentyRecording(256, 40, [](double t, int e) {
                                return t < 20
                                           ? 0.0
                                           : noise(t, e, 25.0) + 20.0 * std::sin(kTwoPi * 10.0 * t);
                            }));
    const TrendData d = computeTrends(path);
    for (int line = 0; line < d.lines(); ++line) {
        EXPECT_FLOAT_EQ(d.suppression[d.at(0, line)], 100.0f) << line;
        EXPECT_FLOAT_EQ(d.suppression[d.at(1, line)], 100.0f) << line;
        EXPECT_FLOAT_EQ(d.suppression[d.at(3, line)], 0.0f) << line;
    }
}

TEST(Trends, CacheGivesBackWhatWasWrittenAndRejectsStaleOrDamagedFiles) {
    TempDir dir;
    const std::string path = dir.file("rec.vwr");
    const auto write = [&](double hz) {
        testing::writeRecording(path, tenTwentyRecording(256, 20, [hz](double t, int e) {
                                    return 30.0 * std::sin(kTwoPi * (hz + e) * t);
                                }));
    };
    write(5.0);
    const TrendData d = computeTrends(path);
    const std::string folder = dir.file("cache");
    const std::string key = cacheKey(path, doubleBanana(), 10.0);
    ASSERT_EQ(writeCache(folder, key, d), "");
    const std::optional<TrendData> back = readCache(folder, key);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->cdsa, d.cdsa);
    EXPECT_EQ(back->layout.labels, d.layout.labels);
    EXPECT_EQ(back->layout.pairs.size(), d.layout.pairs.size());
    EXPECT_EQ(back->segments, d.segments);
    EXPECT_EQ(std::memcmp(back->upper.data(), d.upper.data(), d.upper.size() * 4), 0);

    const std::string file = cachePath(folder, key);
    const auto damaged = [&](const std::function<void(std::string&)>& harm) {
        std::ifstream in(file, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), {});
        harm(bytes);
        const std::string other = dir.file("cache/damaged");
        std::ofstream(other, std::ios::binary) << bytes;
        std::filesystem::rename(other, file);
        return !readCache(folder, key).has_value();
    };
    std::string whole;
    EXPECT_TRUE(damaged([&](std::string& b) { whole = b, b[b.size() / 2] ^= 0x10; }));
    EXPECT_TRUE(damaged([&](std::string& b) { b = whole.substr(0, whole.size() - 9); }));
    EXPECT_TRUE(damaged([&](std::string& b) { b = whole + "x"; }));
    EXPECT_TRUE(damaged([&](std::string& b) { b = "not a cache"; }));
    EXPECT_FALSE(damaged([&](std::string& b) { b = whole; }));

    // Another segment length, or the recording written again, is another key.
    EXPECT_NE(cacheKey(path, doubleBanana(), 5.0), key);
    EXPECT_FALSE(readCache(folder, cacheKey(path, doubleBanana(), 5.0)).has_value());
    write(6.0);
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) +
                                               std::chrono::seconds(2));
    EXPECT_NE(cacheKey(path, doubleBanana(), 10.0), key);
    EXPECT_FALSE(readCache(folder, cacheKey(path, doubleBanana(), 10.0)).has_value());
}

TEST(Trends, RegionsPairsAndTheMontageOnScreenWithoutTenTwentyElectrodes) {
    const TrendMontage banana = doubleBanana();
    ASSERT_EQ(banana.name, "Double banana");
    const auto& lines = std::get<MontageDefinition>(banana.lines).lines;
    std::vector<std::string> labels;
    for (const MontageLine& l : lines) {
        labels.push_back(l.label);
    }
    const LineLayout layout = layoutOf(labels, std::vector<bool>(labels.size(), true));
    const std::array<std::vector<int>, kRegionCount> regions = {
        std::vector<int>{0, 1, 2, 3}, {4, 5, 6, 7}, {10, 11, 12, 13}, {14, 15, 16, 17}};
    EXPECT_EQ(layout.regions, regions);
    ASSERT_EQ(layout.pairs.size(), 8u);
    EXPECT_EQ(layout.pairs[0].name, "Fp1-F7 / Fp2-F8");
    EXPECT_EQ(layout.pairs[4].right, 10);
    // A missing right line leaves its pair out.
    std::vector<bool> present(labels.size(), true);
    present[15] = false;
    EXPECT_EQ(layoutOf(labels, present).pairs.size(), 7u);

    const TrendMontage screen{"Mine", MontageRecord{}};
    EXPECT_EQ(chooseMontage({"E1", "E2", "E3", "Fp1"}, screen).name, "Mine");
    EXPECT_EQ(chooseMontage({"EEG FP1-REF", "F7", "T3", "T5", "O1", "F3", "C3", "P3", "Fp2", "F4",
                             "C4", "P4", "O2"},
                            screen)
                  .name,
              "Double banana");
}

} // namespace
} // namespace viewer::trends
