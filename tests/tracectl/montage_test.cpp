// Choosing the montage through the control: archived montages, all electrodes, "As recorded"
// with the events that tell the host a history montage was loaded, and older generations.

#include "fixture.h"

namespace viewer::testing {
namespace {

TEST(HistoryMontages, DrawPageSwitchesAfterEachChangePoint) {
    Ctrl f;
    f.ctrl.setGratis(true); // no file yet: refused
    EXPECT_FALSE(f.ctrl.gratis());
    ASSERT_EQ(f.open(historyRecording({0, 5000, 9000, -1}, 500, 40)), 0);
    EXPECT_EQ(f.lines(), 0); // "As recorded" was not asked for
    f.ctrl.setGratis(true);
    EXPECT_TRUE(f.ctrl.gratis());
    EXPECT_EQ(f.montageEvents, 1);
    EXPECT_EQ(f.montageName(), "History 0");
    const struct {
        int32_t sec;
        const char* montage;
        int events;
    } pages[] = {{10, "History 0", 1}, // frame 5000: exactly on the change point
                 {11, "History 1", 2},
                 {11, "History 1", 2},
                 {20, "History 2", 3},
                 {0, "History 0", 4}};
    for (const auto& p : pages) {
        EXPECT_TRUE(f.ctrl.DrawPage(p.sec)) << p.sec;
        EXPECT_EQ(f.montageName(), p.montage) << p.sec;
        EXPECT_EQ(f.montageEvents, p.events) << p.sec;
    }
    f.ctrl.setNumMont(31); // no effect while as recorded
    EXPECT_EQ(f.montageName(), "History 0");
    // Not following the history, pages never switch montage.
    f.ctrl.setGratis(false);
    EXPECT_EQ(f.lines(), 0);
    EXPECT_FALSE(f.ctrl.DrawPage(20));
    EXPECT_EQ(f.montageEvents, 4);
    ASSERT_EQ(f.open(montageRecording(), "plain.vwr"), 0);
    f.ctrl.setGratis(true); // a recording without a history
    EXPECT_FALSE(f.ctrl.gratis());
}

// A second recording opened while as recorded has other channels and another montage; the
// control is ready to draw it from the event, exactly as one that only ever opened it.
TEST(HistoryMontages, OpeningAsRecordedRebuildsDerivationsAndFilters) {
    RecordingDescription second = historyRecording({0, -1}, 250, 20);
    second.order = {3, 167, 2, 1};
    MontageRecord m = named(montage("", {{2, 3}, {167, 0}, {1, 0}}), "Second");
    m.highPass = {530, 0, 1600};
    m.lowPass = {7000, 3000, 1500};
    m.notch = 1;
    second.historyMontages = {m};
    Ctrl only;
    ASSERT_EQ(only.open(second), 0);
    only.ctrl.setGratis(true);
    ASSERT_TRUE(only.ctrl.DrawPage(1));

    RecordingDescription first = historyRecording({0, -1}, 500, 40);
    first.historyMontages = {named(montage("", {{1, 2}, {2, 3}, {1, 3}}), "First")};
    Ctrl f;
    ASSERT_EQ(f.open(first, "first.vwr"), 0);
    f.ctrl.setGratis(true);
    ASSERT_TRUE(f.ctrl.DrawPage(1));
    ASSERT_EQ(f.montageName(), "First");
    std::vector<std::vector<float>> seen;
    QObject::connect(&f.ctrl, &CViewerCtrl::CambiatoMontaggio, [&] {
        EXPECT_TRUE(f.ctrl.DrawPage(1));
        for (int line = 0; line < f.lines(); ++line) {
            seen.push_back(f.values(line));
        }
    });
    ASSERT_EQ(f.open(second, "second.vwr"), 0);
    EXPECT_EQ(f.montageName(), "Second");
    ASSERT_EQ(seen.size(), 3u);
    for (int line = 0; line < 3; ++line) {
        EXPECT_EQ(seen[line], only.values(line)) << line;
        EXPECT_EQ(f.ctrl.recording().derivations[line].channelA,
                  only.ctrl.recording().derivations[line].channelA);
    }
}

TEST(NumMont, ChoosesArchivedMontagesAndAllElectrodes) {
    Ctrl f;
    f.ctrl.setNumMont(33); // no file: kept, nothing loaded
    EXPECT_EQ(f.ctrl.numMont(), 33);
    EXPECT_EQ(f.lines(), 0);
    EXPECT_FALSE(f.ctrl.isModified());
    ASSERT_EQ(f.open(montageRecording()), 0);
    EXPECT_EQ(f.ctrl.GetNumArchivedMontage(), 3);
    EXPECT_EQ(f.ctrl.GetArchivedMontName(2), QStringLiteral("Mixed"));
    EXPECT_EQ(f.ctrl.GetArchivedMontName(3), QString());
    f.ctrl.setNumMont(31);
    EXPECT_EQ(f.montageName(), "Referential");
    EXPECT_EQ(f.ctrl.ViewMode(), 2);
    EXPECT_EQ(f.lines(), 4);
    f.ctrl.setNumMont(33);
    EXPECT_EQ(f.montageName(), "All recorded electrodes");
    EXPECT_EQ(f.ctrl.ViewMode(), 0);
    ASSERT_TRUE(f.ctrl.DrawPage(2));
    // Each line shows the zero level less the raw value: 32768 - (4000 + 512 % 500).
    EXPECT_EQ(f.ctrl.model().lineValues(3)[0], 28756.0f);
    f.ctrl.setNumMont(34); // beyond the last choice
    EXPECT_EQ(f.ctrl.numMont(), 0);
    f.ctrl.setNumMont(12); // 0 .. 29 keep the montage
    EXPECT_EQ(f.ctrl.numMont(), 12);
    EXPECT_EQ(f.montageName(), "All recorded electrodes");
    EXPECT_EQ(f.montageEvents, 0);

    RecordingDescription zeroed = montageRecording(); // a montage area of zeros offers none
    zeroed.rawAreas[Area::Montage] = std::vector<uint8_t>(4096 * 3, 0);
    ASSERT_EQ(f.open(zeroed, "zeroed.vwr"), 0);
    EXPECT_EQ(f.ctrl.GetNumArchivedMontage(), 0);
    f.ctrl.setNumMont(30);
    EXPECT_EQ(f.montageName(), "All recorded electrodes");
}

TEST(NumMont, MapsAnArchivedNotchThroughNotchFreq) {
    Ctrl f;
    ASSERT_EQ(f.open(montageRecording()), 0);
    f.ctrl.setNotchFreq(60);
    f.ctrl.setNumMont(30); // "Bipolar" stores its notch as on
    EXPECT_EQ(f.ctrl.recording().currentMontage.notch, 2);
    EXPECT_TRUE(f.ctrl.model().filters().line(0).notchOn());
    f.ctrl.setNotchFreq(50);
    f.ctrl.setNumMont(30);
    EXPECT_EQ(f.ctrl.recording().currentMontage.notch, 1);
    f.ctrl.setNumMont(31); // "Referential" stores it off
    EXPECT_FALSE(f.ctrl.GetNotchFilter());
}

TEST(OlderGenerations, TypeThreeMontagesConvertAndTheirHistoryIsFollowed) {
    Ctrl f;
    RecordingDescription d = historyRecording({0, 5000, 9000});
    d.headerType = 3;
    d.montages[0].colourCode[0] = 3; // palette index 34
    d.montages[0].baseTime = 15;
    ASSERT_EQ(f.open(d), 0);
    EXPECT_EQ(f.ctrl.GetArchivedMontName(1), "Referential");
    f.ctrl.setNumMont(30);
    const MontageRecord& m = f.ctrl.recording().currentMontage;
    EXPECT_EQ(f.montageName(), "Bipolar");
    EXPECT_EQ(m.colourIndex[0], 34);
    EXPECT_EQ(m.pageMs, 15000);
    EXPECT_EQ(f.ctrl.ViewMode(), 1); // the stored reference mode
    EXPECT_EQ(f.ctrl.recording().samplesPerPage, 15u * 500);
    f.ctrl.setGratis(true);
    EXPECT_EQ(f.montageName(), "History 0");
    f.ctrl.DrawPage(11); // frame 5500
    EXPECT_EQ(f.montageName(), "History 1");
    EXPECT_EQ(f.lines(), 2);
    EXPECT_EQ(f.montageEvents, 2);

    RecordingDescription two = historyRecording({0, 5000});
    two.headerType = 2; // generation 2 keeps no history
    ASSERT_EQ(f.open(two, "two.vwr"), 0);
    f.ctrl.setGratis(true);
    EXPECT_FALSE(f.ctrl.gratis());
}

TEST(OlderGenerations, TypeThreePageLengthIsCappedByTheLongestPage) {
    Ctrl f;
    RecordingDescription d = montageRecording(2048, 2); // 160 s fit the page buffer
    d.headerType = 3;
    d.montages[0].baseTime = 200;
    ASSERT_EQ(f.open(d), 0);
    f.ctrl.setNumMont(30);
    EXPECT_FLOAT_EQ(f.ctrl.secNumber(), 160.0f);
}

// The same samples in every generation: one byte wide, zero level 128 everywhere.
TEST(OlderGenerations, EveryGenerationGivesTheSamePageValues) {
    std::vector<std::vector<float>> reference;
    for (uint8_t type : {4, 3, 2, 1, 0}) {
        RecordingDescription d;
        d.headerType = type;
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
        Ctrl f;
        ASSERT_EQ(f.open(d), 0) << int(type);
        f.ctrl.setNumMont(static_cast<int16_t>(f.ctrl.GetNumArchivedMontage() + 30));
        ASSERT_EQ(f.lines(), 4) << int(type);
        EXPECT_TRUE(f.ctrl.DrawPage(1)) << int(type);
        std::vector<std::vector<float>> values;
        for (int line = 0; line < 4; ++line) {
            values.push_back(f.values(line));
        }
        ASSERT_EQ(values[0].size(), 2560u);
        // Zero level less the raw value: frame 256 of line 0 holds 256 * 7 % 256 = 0.
        EXPECT_FLOAT_EQ(values[0][0], 128.0f);
        if (reference.empty()) {
            reference = values;
        }
        EXPECT_EQ(values, reference) << int(type);
    }
}

} // namespace
} // namespace viewer::testing
