// Which lines a gain or filter value goes to, and the one value the host shows for them.

#include "fixtures.h"
#include "line_settings.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace viewer::testing {
namespace {

// Four EEG channels, ECG (167, polygraphic) and an unfiltered input (174), all acquired;
// EEG code 9 described but not acquired.
class LineSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingDescription d = fourChannels();
        d.order.push_back(167);
        d.electrodes[167] = polygraphicElectrode("ECG1+", "ECG1-", 3200);
        d.order.push_back(174);
        d.electrodes[174] = polygraphicElectrode("PHO", "PHO-", 100);
        d.electrodes[9] = eegElectrode("C4");
        d.electrodes[9].status = 0;
        opened = std::make_unique<OpenedRecording>(dir, d);
        ASSERT_TRUE(opened->opened);
    }

    Recording& rec() { return opened->rec; }
    MontageRecord& m() { return opened->rec.currentMontage; }
    std::vector<int32_t> gains() { return {m().gain.begin(), m().gain.begin() + m().numLines}; }

    TempDir dir;
    std::unique_ptr<OpenedRecording> opened;
};

TEST_F(LineSettingsTest, ExaminedElectrodeFallsBackToEarlierLinesAndIsNoneBeforeTheFirst) {
    m() = montage("m", {{0, 0}, {0, 14}, {0, 0}, {2, 15}, {0, 0}});
    EXPECT_EQ(examinedElectrode(m(), 0), std::nullopt); // nothing before line 0 is read
    EXPECT_EQ(examinedElectrode(m(), 1), 14);
    EXPECT_EQ(examinedElectrode(m(), 2), 14);
    EXPECT_EQ(examinedElectrode(m(), 3), 2);
    EXPECT_EQ(examinedElectrode(m(), 4), 2);
}

TEST_F(LineSettingsTest, StepGainsMovesEveryLineOrNone) {
    m() = montage("m", {{1, 2}, {2, 14}, {167, 0}});
    m().gain[0] = 50;
    m().gain[1] = 75; // not in the list
    m().gain[2] = 100;
    const std::vector<int32_t> list = {10, 50, 70, 100, 200, -1};
    EXPECT_TRUE(stepGains(rec(), list, true));
    EXPECT_EQ(gains(), (std::vector<int32_t>{70, 100, 200}));
    EXPECT_TRUE(stepGains(rec(), list, false));
    EXPECT_EQ(gains(), (std::vector<int32_t>{50, 70, 100}));
    m().gain[1] = 75;
    EXPECT_TRUE(stepGains(rec(), list, false));
    EXPECT_EQ(gains(), (std::vector<int32_t>{10, 70, 70}));

    // One line at the top: nothing moves, not even the lines that could.
    m().gain[2] = 200;
    EXPECT_FALSE(stepGains(rec(), list, true));
    EXPECT_EQ(gains(), (std::vector<int32_t>{10, 70, 200}));
    // One line at the bottom.
    EXPECT_FALSE(stepGains(rec(), list, false));
    EXPECT_EQ(gains(), (std::vector<int32_t>{10, 70, 200}));
    m().gain[0] = 5; // below the list
    EXPECT_FALSE(stepGains(rec(), list, false));
    EXPECT_EQ(gains(), (std::vector<int32_t>{5, 70, 200}));
}

TEST_F(LineSettingsTest, StepGainsStopsAtTheEndOfAListWithoutItsTerminator) {
    m() = montage("m", {{1, 2}});
    m().gain[0] = 70;
    // Exactly sized on the heap, so that a read past the end would be caught.
    const auto list = std::make_unique<int32_t[]>(3);
    list[0] = 50;
    list[1] = 70;
    list[2] = 100;
    EXPECT_TRUE(stepGains(rec(), std::span<const int32_t>(list.get(), 3), true));
    EXPECT_EQ(m().gain[0], 100);
    EXPECT_FALSE(stepGains(rec(), std::span<const int32_t>(list.get(), 3), true));
    EXPECT_FALSE(stepGains(rec(), std::span<const int32_t>(list.get(), 2), true));
    EXPECT_FALSE(stepGains(rec(), {}, true));
    EXPECT_EQ(m().gain[0], 100);
    EXPECT_TRUE(stepGains(rec(), std::span<const int32_t>(list.get(), 1), false));
    EXPECT_EQ(m().gain[0], 50);
    // Values after the -1 are never looked at.
    const std::vector<int32_t> ended = {50, -1, 500};
    EXPECT_FALSE(stepGains(rec(), ended, true));
}

TEST_F(LineSettingsTest, StepGainsComparesUnsigned) {
    m() = montage("m", {{1, 2}});
    m().gain[0] = -5; // as unsigned, above every listed gain
    const std::vector<int32_t> list = {10, 100, -1};
    EXPECT_FALSE(stepGains(rec(), list, true));
    EXPECT_TRUE(stepGains(rec(), list, false));
    EXPECT_EQ(m().gain[0], 100);
}

TEST_F(LineSettingsTest, EegGainGoesToSelectedLinesElseToEegAnd174Lines) {
    m() = montage("m", {{1, 2}, {2, 14}, {167, 0}, {174, 0}, {0, 167}, {14, 15}});
    m().selected[1] = 1;
    m().selected[2] = 1;
    setEegGain(rec(), 300);
    EXPECT_EQ(gains(), (std::vector<int32_t>{100, 300, 300, 100, 100, 100}));
    deselectAll(m());
    EXPECT_EQ(m().selected[1] + m().selected[2], 0);
    setEegGain(rec(), 50);
    EXPECT_EQ(gains(), (std::vector<int32_t>{50, 50, 300, 50, 100, 50}));
}

TEST_F(LineSettingsTest, EegGainIsTheSharedGainOfEegLines) {
    m() = montage("m", {{167, 0}, {1, 2}, {2, 14}});
    m().gain[0] = 1000;
    EXPECT_EQ(eegGain(rec()), 100); // the polygraphic line does not count
    m().gain[2] = 70;
    EXPECT_EQ(eegGain(rec()), -1);
    m() = montage("m", {{167, 0}});
    EXPECT_EQ(eegGain(rec()), -1); // no EEG line
}

TEST_F(LineSettingsTest, FilterValuesGoToSelectedThenEegThenPolygraphicLines) {
    m() = montage("m", {{1, 2}, {167, 0}, {2, 14}, {0, 167}});
    m().selected[3] = 1;
    setEegFilter(rec(), FilterSetting::HighPass, 1600);
    EXPECT_EQ(m().highPass[3], 1600u);
    EXPECT_EQ(m().highPass[0], 530u);
    deselectAll(m());
    setEegFilter(rec(), FilterSetting::LowPass, 3000);
    EXPECT_EQ(m().lowPass[0], 3000u);
    EXPECT_EQ(m().lowPass[1], 7000u);
    EXPECT_EQ(m().lowPass[2], 3000u);
    EXPECT_EQ(m().lowPass[3], 7000u);

    // No EEG line whose examined electrode is acquired: the polygraphic lines take it.
    m() = montage("m", {{0, 0}, {9, 0}, {167, 0}});
    setEegFilter(rec(), FilterSetting::HighPass, 300);
    EXPECT_EQ(m().highPass[0], 530u);
    EXPECT_EQ(m().highPass[1], 530u);
    EXPECT_EQ(m().highPass[2], 300u);
}

TEST_F(LineSettingsTest, PrevailingFilterIsTheMostCommonEegValue) {
    m() = montage("m", {{1, 2}, {2, 14}, {14, 15}, {167, 0}, {15, 1}, {1, 14}});
    const uint32_t highPass[] = {530, 160, 160, 9999, 530, 530};
    for (int i = 0; i < 6; ++i) {
        m().highPass[i] = highPass[i];
        m().lowPass[i] = 1000 * (i + 1); // all distinct
    }
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), 530);
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), 1000); // line 0's
    m().highPass[0] = 160;                                            // 160 x 3 against 530 x 2
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), 160);
    m().highPass[0] = 530;
    m().highPass[4] = 160; // 530, 160, 160, 160, 530: the earliest of the best wins
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), 160);
}

TEST_F(LineSettingsTest, PrevailingFilterFallsBackToPolygraphicLines) {
    m() = montage("m", {{167, 0}, {0, 174}});
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), 530);
    m().highPass[1] = 100;
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), -1);

    // The EEG line's electrode is not acquired: EEG values are not consulted.
    m() = montage("m", {{9, 0}, {167, 0}});
    m().lowPass[0] = 1;
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), 7000);

    m() = montage("m", {{9, 0}, {0, 0}});
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), -1);
    m().numLines = 0;
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), -1);
}

} // namespace
} // namespace viewer::testing
