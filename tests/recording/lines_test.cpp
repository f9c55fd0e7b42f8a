// The lines of a montage: derivation records, line values and scales, re-referenced
// frames, and which lines a gain or filter value goes to.

#include "derivations.h"
#include "fixtures.h"
#include "line_settings.h"
#include "montage_recordings.h"
#include "montages.h"
#include "references.h"

#include <gtest/gtest.h>

#include <limits>

namespace viewer::testing {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(BuildDerivations, GivesEachLineItsKindChannelsAndCalibration) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.electrodes[3].logicGround = 100; // F3 on channel 2
    d.electrodes[3].logicMin = 7;
    d.electrodes[3].unit = 1;
    d.order.push_back(700); // channel 4 carries a code no electrode record has
    d.montages.push_back(montage("Outside", {{1, 700}, {640, 0}, {0, 65535}, {3, 1}}));
    OpenedRecording o(dir, d);
    const auto& r = o.rec.derivations;
    const auto lines = [&](int k) {
        EXPECT_TRUE(LoadArchivedMontage(o.rec, k));
        buildDerivationRecords(o.rec);
        Values v;
        for (int i = 0; i < 6; ++i) { // a line past numLines is no input
            v.insert(v.end(),
                     {r[i].kind,
                      r[i].kind == kBothInputs || r[i].kind == kInputAOnly ? r[i].channelA : -1,
                      r[i].kind == kBothInputs || r[i].kind == kInputBOnly ? r[i].channelB : -1});
        }
        return v;
    };
    // (0,0) (1,0) (0,2) (1,3) (1,9): electrode 9 is not acquired; inputB's calibration wins.
    EXPECT_EQ(lines(2), (Values{kNoInput, -1, -1, kInputAOnly, 0, -1, kInputBOnly, -1, 1,
                                kBothInputs, 0, 2, kUnavailable, -1, -1, kNoInput, -1, -1}));
    EXPECT_EQ((Values{r[1].logicGround, r[3].logicGround, r[3].logicMin, r[3].unit}),
              (Values{32768, 100, 7, 1}));
    // Codes outside the electrode table make no position and no line.
    EXPECT_EQ(lines(3), (Values{kUnavailable, -1, -1, kUnavailable, -1, -1, kUnavailable, -1, -1,
                                kBothInputs, 2, 0, kNoInput, -1, -1, kNoInput, -1, -1}));

    Recording closed; // without a file nothing is built
    closed.currentMontage = montage("No file", {{1, 2}});
    closed.derivations[0].kind = kUnavailable;
    buildDerivationRecords(closed);
    EXPECT_EQ(closed.derivations[0].kind, kUnavailable);
}

TEST(LineValue, FollowsTheKindOfLineWithoutOverflowAndScalesEveryUnit) {
    const int32_t frame[] = {500, 70000, -3};
    DerivationRecord r;
    r.channelA = 1, r.channelB = 0, r.logicGround = 1000;
    for (const auto& [kind, value] : {std::pair<uint8_t, int64_t>{kInputAOnly, 69000},
                                      {kInputBOnly, 500},
                                      {kBothInputs, 69500},
                                      {kNoInput, 0}}) {
        r.kind = kind;
        EXPECT_EQ(lineValue(r, frame), value) << int(kind);
    }
    const int32_t extremes[] = {kMax, kMin}; // 32-bit samples at the ends of their range
    r.channelA = 0, r.channelB = 1, r.kind = kBothInputs;
    EXPECT_EQ(lineValue(r, extremes), 4294967295LL);
    r.kind = kInputBOnly, r.logicGround = kMax;
    EXPECT_EQ(lineValue(r, extremes), 4294967295LL);

    // Scales in microvolts per step for every unit, finite for any range.
    r.physicalMax = 3200, r.physicalMin = -3200, r.logicMax = 65535, r.logicMin = 0;
    for (const auto& [unit, factor] : {std::pair<int16_t, double>{0, 1.0},
                                       {1, 1e3},
                                       {2, 1e6},
                                       {-1, 1e-3},
                                       {7, 1.0}}) { // unknown units are microvolts
        r.unit = unit;
        EXPECT_DOUBLE_EQ(lineScale(r), 6400.0 / 65536.0 * factor) << unit;
    }
    r.logicMax = -1; // a logic range of no steps, then ranges beyond 32 bits
    EXPECT_EQ(lineScale(r), 0.0);
    r.physicalMax = r.logicMax = kMax;
    r.physicalMin = r.logicMin = kMin;
    EXPECT_NEAR(lineScale(r), 1.0, 1e-9);
}

// A recording in memory whose channels carry `codes` (EEG electrodes) with reference `mode`.
struct InMemory {
    Recording rec;
    InMemory(const std::vector<uint16_t>& codes, uint8_t mode) {
        rec.header.numChannels = static_cast<uint16_t>(codes.size());
        for (size_t c = 0; c < codes.size(); ++c) {
            rec.orderTable[c] = codes[c];
            if (codes[c] < kElectrodeCount) {
                rec.electrodes[codes[c]] = eegElectrode("E");
            }
        }
        rec.pageBuffer.assign(kPageBufferValues, 0);
        rec.currentMontage.refMode = mode;
    }
    // The frames `frames` (one after the other) after re-referencing.
    std::vector<int32_t> apply(const std::vector<int32_t>& frames) {
        std::copy(frames.begin(), frames.end(), rec.pageBuffer.begin());
        applyReference(rec, static_cast<uint32_t>(frames.size() / rec.header.numChannels));
        return {rec.pageBuffer.begin(), rec.pageBuffer.begin() + std::ssize(frames)};
    }
    ElectrodeRecord& e(int code) { return rec.electrodes[code]; }
    InMemory& logic(int code, int32_t min, int32_t max, int32_t ground) {
        e(code).logicMin = min, e(code).logicMax = max, e(code).logicGround = ground;
        return *this;
    }
};

using Frames = std::vector<int32_t>;

TEST(AverageReference, SubtractsTheMeanOfTheIncludedEegChannelsWithinTheLogicRange) {
    InMemory m({1, 2, 3, 167, 4}, 1);
    m.e(167) = polygraphicElectrode("ECG", "ECG-", 3200);
    m.e(4).avgExcluded = 1;
    m.e(1).logicGround = 100; // the first EEG channel's zero level counts
    // Mean of 1000, 2000, 3001 is 2000 (truncated); less 100 gives 1900.
    EXPECT_EQ(m.apply({1000, 2000, 3001, 50000, 9000, 100, 100, 100, 7, 100}),
              (Frames{0, 100, 1101, 50000, 7100, 100, 100, 100, 7, 100}));
    // The first EEG channel's logic range limits the result.
    EXPECT_EQ(InMemory({1, 2}, 1).logic(1, 10, 1000, 0).apply({0, 3000}), (Frames{10, 1000}));
    InMemory excluded({1, 2}, 1); // no averaged channel at all
    excluded.e(1).avgExcluded = 1;
    excluded.e(2).avgExcluded = 5;
    EXPECT_EQ(excluded.apply({123, 456}), (Frames{123, 456}));
    // A code with no electrode record stays as it is.
    EXPECT_EQ(InMemory({700, 1, 2}, 1).logic(1, 0, 65535, 0).apply({5, 10, 30}),
              (Frames{5, 0, 10}));
    // A 32-bit sum would wrap far away from the mean.
    InMemory big({1, 2, 3}, 1);
    big.logic(1, kMin, kMax, 0).logic(2, kMin, kMax, 0).logic(3, kMin, kMax, 0);
    EXPECT_EQ(big.apply({2000000000, 2000000000, 1999999970}), (Frames{10, 10, -20}));
}

TEST(EarReference, SubtractsHalfTheEarsFromEveryEegChannel) {
    InMemory m({1, 23, 22, 167}, 2);
    m.e(167) = polygraphicElectrode("ECG", "ECG-", 3200);
    m.e(0).logicGround = 1000;
    // Half of 7001 is 3500; less 1000 gives 2500. Below 0 becomes 0; there is no top limit.
    EXPECT_EQ(m.apply({5000, 3000, 4001, 8, 100, 3000, 4000, 9}),
              (Frames{2500, 500, 1501, 8, 0, 500, 1500, 9}));
    InMemory high({1, 23, 22}, 2);
    high.e(0).logicGround = 0;
    // The ears' sum is signed: a reference of -2000000000 saturates the sample.
    EXPECT_EQ(high.apply({kMax, -2000000000, -2000000000})[0], kMax);
    // Signed samples (zero level 0) keep both sides of zero: the ears sum to -401, half rounds
    // down to -201; the floor is the channel's logicMin; the 32-bit range saturates.
    InMemory sign({1, 23, 22}, 2);
    for (int code : {0, 1, 22, 23}) {
        sign.logic(code, -1000, 1000, 0);
    }
    EXPECT_EQ(sign.apply({-500, -100, -301, 300, 100, 200, -2000, 0, 0}),
              (Frames{-299, 101, -100, 150, -50, 50, -1000, 0, 0}));
    for (int code : {0, 1, 22, 23}) {
        sign.logic(code, kMin, 0, 0);
    }
    EXPECT_EQ(sign.apply({-2000, 0, 0, kMin, 2000, 0}), (Frames{-2000, 0, 0, kMin, 1000, -1000}));
    // A reference below zero cannot push a sample past the 32-bit range.
    high.e(0).logicGround = 2000000000;
    EXPECT_EQ(high.apply({kMax, 0, 0}), (Frames{kMax, 2000000000, 2000000000}));

    // Both ears must be EEG channels; other modes leave the samples as read.
    InMemory polygraphicEar({1, 23, 22}, 2);
    polygraphicEar.e(22).electrodeType = 1;
    EXPECT_EQ(polygraphicEar.apply({10, 20, 30}), (Frames{10, 20, 30}));
    EXPECT_EQ(InMemory({1, 23, 2}, 2).apply({10, 20, 30}), (Frames{10, 20, 30}));
    for (uint8_t mode : {0, 3, 200}) {
        EXPECT_EQ(InMemory({1, 23, 22}, mode).apply({10, 20, 30}), (Frames{10, 20, 30}));
    }
}

// Four EEG channels, ECG (167, polygraphic) and an unfiltered input (174), all acquired;
// EEG code 9 described but not acquired.
class LineSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingDescription d = fourChannels();
        d.order.insert(d.order.end(), {167, 174});
        d.electrodes[167] = polygraphicElectrode("ECG1+", "ECG1-", 3200);
        d.electrodes[174] = polygraphicElectrode("PHO", "PHO-", 100);
        d.electrodes[9] = eegElectrode("C4");
        d.electrodes[9].status = 0;
        opened = std::make_unique<OpenedRecording>(dir, d);
    }
    Recording& rec() { return opened->rec; }
    MontageRecord& m() { return opened->rec.currentMontage; }
    Values gains() { return {m().gain.begin(), m().gain.begin() + m().numLines}; }
    Values highPass() { return {m().highPass.begin(), m().highPass.begin() + m().numLines}; }
    Values lowPass() { return {m().lowPass.begin(), m().lowPass.begin() + m().numLines}; }

    TempDir dir;
    std::unique_ptr<OpenedRecording> opened;
};

TEST_F(LineSettingsTest, StepGainsMovesEveryLineOrNoneAndComparesUnsigned) {
    // The electrode a line examines falls back to earlier lines; none before the first.
    m() = montage("m", {{0, 0}, {0, 14}, {0, 0}, {2, 15}});
    EXPECT_EQ(examinedElectrode(m(), 0), std::nullopt);
    EXPECT_EQ((Values{*examinedElectrode(m(), 1), *examinedElectrode(m(), 2),
                      *examinedElectrode(m(), 3)}),
              (Values{14, 14, 2}));

    m() = montage("m", {{1, 2}, {2, 14}, {167, 0}});
    const std::vector<int32_t> list = {10, 50, 70, 100, 200, -1};
    // Gains before, up, moved, gains after. At the top or the bottom of the list nothing
    // moves, not even the lines that could; 75 is not in the list; -5 is above every gain.
    const std::tuple<Values, bool, bool, Values> steps[] = {
        {{50, 75, 100}, true, true, {70, 100, 200}},  {{70, 100, 200}, false, true, {50, 70, 100}},
        {{50, 75, 100}, false, true, {10, 70, 70}},   {{10, 70, 200}, true, false, {10, 70, 200}},
        {{10, 70, 200}, false, false, {10, 70, 200}}, {{5, 70, 200}, false, false, {5, 70, 200}},
        {{-5, 70, 100}, true, false, {-5, 70, 100}},  {{-5, 70, 100}, false, true, {200, 50, 70}}};
    for (const auto& [before, up, moved, after] : steps) {
        std::copy(before.begin(), before.end(), m().gain.begin());
        EXPECT_EQ(stepGains(rec(), list, up), moved) << before[0] << " " << up;
        EXPECT_EQ(gains(), after) << before[0] << " " << up;
    }
    // A list without its terminator ends at its end; values after a -1 are never looked at.
    m() = montage("m", {{1, 2}});
    m().gain[0] = 70;
    const auto exact = std::make_unique<int32_t[]>(3); // on the heap: a read past is caught
    exact[0] = 50, exact[1] = 70, exact[2] = 100;
    EXPECT_TRUE(stepGains(rec(), std::span<const int32_t>(exact.get(), 3), true));
    EXPECT_FALSE(stepGains(rec(), std::span<const int32_t>(exact.get(), 3), true));
    EXPECT_FALSE(stepGains(rec(), {}, true));
    EXPECT_FALSE(stepGains(rec(), std::vector<int32_t>{50, -1, 500}, true));
    EXPECT_EQ(m().gain[0], 100);
}

TEST_F(LineSettingsTest, GainAndFilterValuesGoToSelectedThenEegThenPolygraphicLines) {
    m() = montage("m", {{1, 2}, {2, 14}, {167, 0}, {174, 0}, {0, 167}, {14, 15}});
    m().selected[1] = m().selected[2] = 1;
    setEegGain(rec(), 300);
    setEegFilter(rec(), FilterSetting::HighPass, 1600);
    EXPECT_EQ(gains(), (Values{100, 300, 300, 100, 100, 100}));
    EXPECT_EQ(highPass(), (Values{530, 1600, 1600, 530, 530, 530}));
    deselectAll(m());
    EXPECT_EQ(m().selected[1] + m().selected[2], 0);
    setEegGain(rec(), 50); // EEG lines and the unfiltered input
    setEegFilter(rec(), FilterSetting::LowPass, 3000);
    EXPECT_EQ(gains(), (Values{50, 50, 300, 50, 100, 50}));
    EXPECT_EQ(lowPass(), (Values{3000, 3000, 7000, 7000, 7000, 3000}));

    // The EEG gain shown is the one all EEG lines share; polygraphic lines do not count.
    m() = montage("m", {{167, 0}, {1, 2}, {2, 14}});
    m().gain[0] = 1000;
    EXPECT_EQ(eegGain(rec()), 100);
    m().gain[2] = 70;
    EXPECT_EQ(eegGain(rec()), -1);
    m().numLines = 1; // no EEG line
    EXPECT_EQ(eegGain(rec()), -1);

    // No EEG line whose examined electrode is acquired: the polygraphic lines take it.
    m() = montage("m", {{0, 0}, {9, 0}, {167, 0}});
    setEegFilter(rec(), FilterSetting::LowPass, 300);
    EXPECT_EQ(lowPass(), (Values{7000, 7000, 300}));
}

TEST_F(LineSettingsTest, PrevailingFilterIsTheMostCommonEegValueElsePolygraphic) {
    m() = montage("m", {{1, 2}, {2, 14}, {14, 15}, {167, 0}, {15, 1}, {1, 14}});
    const uint32_t highPass[] = {530, 160, 160, 9999, 530, 530};
    for (int i = 0; i < 6; ++i) {
        m().highPass[i] = highPass[i];
        m().lowPass[i] = 1000 * (i + 1); // all distinct: line 0's
    }
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), 530);
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), 1000);
    m().highPass[4] = 160; // 530, 160, 160, 160, 530: the earliest of the best wins
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), 160);

    m() = montage("m", {{167, 0}, {0, 174}});
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), 530);
    m().highPass[1] = 100;
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), -1);
    m() = montage("m", {{9, 0}, {167, 0}}); // the EEG line's electrode is not acquired
    m().lowPass[0] = 1;
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), 7000);
    m() = montage("m", {{9, 0}, {0, 0}});
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), -1);
    m().numLines = 0;
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), -1);
}

} // namespace
} // namespace viewer::testing
