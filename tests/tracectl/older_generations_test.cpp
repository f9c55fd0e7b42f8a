// Recordings of the older header generations through the whole control: type-3 montages,
// and the same page values from every generation.

#include "ctrl_fixture.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

TEST(OlderGenerations, TypeThreeArchivedMontagesConvertWhenChosen) {
    CtrlFixture f;
    RecordingDescription d = montageRecording();
    d.headerType = 3;
    d.montages[0].colourCode[0] = 3;  // palette index 34
    d.montages[0].colourCode[1] = 40; // beyond the map: index 5
    d.montages[0].baseTime = 15;
    d.montages[0].gain[1] = 150;
    ASSERT_EQ(f.open(d), 0);
    ASSERT_EQ(f.ctrl.GetNumArchivedMontage(), 3);
    EXPECT_EQ(f.ctrl.GetArchivedMontName(1), "Referential");
    f.ctrl.setNumMont(30);
    const MontageRecord& m = f.ctrl.recording().currentMontage;
    EXPECT_EQ(f.montageName(), "Bipolar");
    EXPECT_EQ(m.numLines, 2);
    EXPECT_EQ(m.inputA[0], 1);
    EXPECT_EQ(m.inputB[0], 2);
    EXPECT_EQ(m.gain[1], 150);
    EXPECT_EQ(m.highPass[0], 530u);
    EXPECT_EQ(m.lowPass[0], 7000u);
    EXPECT_EQ(m.colourIndex[0], 34);
    EXPECT_EQ(m.colourIndex[1], 5);
    EXPECT_EQ(m.colourCode[0], 0);
    EXPECT_EQ(m.pageMs, 15000);
    EXPECT_EQ(m.baseTime, 10);
    EXPECT_EQ(m.converted, 1);
    EXPECT_EQ(f.ctrl.ViewMode(), 1); // the stored reference mode
    EXPECT_EQ(m.notch, 1);
    EXPECT_EQ(f.ctrl.recording().samplesPerPage, 15u * 256);

    f.ctrl.setNumMont(31);
    EXPECT_EQ(f.montageName(), "Referential");
    EXPECT_EQ(f.ctrl.ViewMode(), 2);
}

TEST(OlderGenerations, TypeThreePageLengthIsCappedByTheLongestPage) {
    CtrlFixture f;
    RecordingDescription d = montageRecording(2048, 2); // 160 s fit the page buffer
    d.headerType = 3;
    d.montages[0].baseTime = 200;
    ASSERT_EQ(f.open(d), 0);
    ASSERT_EQ(f.ctrl.recording().maxPageMs, 160000);
    f.ctrl.setNumMont(30);
    EXPECT_EQ(f.ctrl.recording().currentMontage.pageMs, 160000);
    EXPECT_FLOAT_EQ(f.ctrl.secNumber(), 160.0f);
}

TEST(OlderGenerations, TypeThreeHistoryIsFollowedAsRecorded) {
    CtrlFixture f;
    RecordingDescription d = historyRecording({0, 5000, 9000});
    d.headerType = 3;
    ASSERT_EQ(f.open(d), 0);
    f.ctrl.setGratis(true);
    ASSERT_TRUE(f.ctrl.gratis());
    EXPECT_EQ(f.montageName(), "History 0");
    f.montageEvents = 0;
    f.ctrl.DrawPage(11); // frame 5500
    EXPECT_EQ(f.montageName(), "History 1");
    EXPECT_EQ(f.lines(), 2);
    EXPECT_EQ(f.montageEvents, 1);
    f.ctrl.DrawPage(20);
    EXPECT_EQ(f.montageName(), "History 2");

    RecordingDescription two = historyRecording({0, 5000});
    two.headerType = 2; // generation 2 keeps no history
    ASSERT_EQ(f.open(two, "two.vwr"), 0);
    f.ctrl.setGratis(true);
    EXPECT_FALSE(f.ctrl.gratis());
}

// The same samples in every generation: one byte wide, zero level 128 everywhere.
RecordingDescription sameEverywhere(uint8_t headerType) {
    RecordingDescription d;
    d.headerType = headerType;
    for (uint16_t code : {1, 15, 23, 167}) {
        d.order.push_back(code);
        d.electrodes[code] = code == 167 ? polygraphicElectrode("ECG1+", "ECG1-", 1600)
                                         : eegElectrode(numberedLabel("E", code));
        d.electrodes[code].logicMax = 255;
        d.electrodes[code].logicGround = 128;
    }
    d.frames = 256 * 12;
    d.sample = [](int64_t frame, int channel) {
        return static_cast<int32_t>((frame * 7 + channel * 50) % 256);
    };
    return d;
}

TEST(OlderGenerations, EveryGenerationGivesTheSamePageValues) {
    std::vector<std::vector<float>> reference;
    for (uint8_t type : {4, 3, 2, 1, 0}) {
        CtrlFixture f;
        ASSERT_EQ(f.open(sameEverywhere(type)), 0) << int(type);
        f.ctrl.setNumMont(static_cast<int16_t>(f.ctrl.GetNumArchivedMontage() + 30));
        ASSERT_EQ(f.lines(), 4) << int(type);
        EXPECT_TRUE(f.ctrl.DrawPage(1)) << int(type);
        std::vector<std::vector<float>> values;
        for (int line = 0; line < 4; ++line) {
            const auto v = f.ctrl.model().lineValues(line);
            values.emplace_back(v.begin(), v.end());
        }
        ASSERT_EQ(values[0].size(), 2560u);
        if (reference.empty()) {
            reference = values;
            // Line 0 shows zero level less the raw value: frame 256 holds 256 * 7 % 256 = 0.
            EXPECT_FLOAT_EQ(values[0][0], 128.0f);
        } else {
            EXPECT_EQ(values, reference) << int(type);
        }
    }
}

} // namespace
} // namespace viewer::testing
