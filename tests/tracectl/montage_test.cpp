// Choosing the montage through the control: archived montages, all electrodes, "As recorded"
// with the events that tell the host a history montage was loaded, and older generations.

#include "fixture.h"

namespace viewer::testing {
namespace {

TEST(HistoryMontages, DrawPageSwitchesAfterEachChangePoint) {
    Ctrl f;
    f.ctrl.setGratis(true); // no file yet: refused
    ASSERT_EQ(f.open(historyRecording({0, 5000, 9000, -1}, 500, 40)), 0);
    f.ctrl.setGratis(true); // second 10 below is frame 5000, exactly on the change point
    std::vector<std::string> names = {f.montageName()};
    for (int32_t sec : {10, 11, 11, 20, 0}) {
        EXPECT_TRUE(f.ctrl.DrawPage(sec)) << sec;
        names.push_back(f.montageName());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"History 0", "History 0", "History 1", "History 1",
                                               "History 2", "History 0"}));
    EXPECT_EQ(f.montageEvents, 4);
    f.ctrl.setNumMont(31); // no effect while as recorded
    EXPECT_EQ(f.montageName(), "History 0");
    f.ctrl.setGratis(false); // not following the history, pages never switch montage
    EXPECT_FALSE(f.ctrl.DrawPage(20));
    EXPECT_EQ(f.montageEvents, 4);
}

// A second recording opened while as recorded has other channels and another montage; the
// control is ready to draw it from the event, exactly as one that only ever opened it.
TEST(HistoryMontages, OpeningAsRecordedRebuildsDerivationsAndFilters) {
    RecordingDescription second = historyRecording({0, -1}, 250, 20);
    second.order = {3, 167, 2, 1};
    MontageRecord m = named(montage("", {{2, 3}, {167, 0}, {1, 0}}), "Second");
    m.highPass = {530, 0, 1600};
    m.lowPass = {7000, 3000, 1500};
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
    std::vector<std::vector<float>> seen;
    QObject::connect(&f.ctrl, &CViewerCtrl::CambiatoMontaggio, [&] {
        EXPECT_TRUE(f.ctrl.DrawPage(1));
        for (int line = 0; line < f.lines(); ++line) {
            seen.push_back(f.values(line));
        }
    });
    ASSERT_EQ(f.open(second, "second.vwr"), 0);
    EXPECT_EQ(seen,
              (std::vector<std::vector<float>>{only.values(0), only.values(1), only.values(2)}));
}

TEST(NumMont, ChoosesArchivedMontagesAndAllElectrodes) {
    Ctrl f;
    f.ctrl.setNumMont(33); // no file: kept, nothing loaded
    EXPECT_EQ(f.lines(), 0);
    RecordingDescription d = montageRecording();
    d.montages[0].notch = 2; // "Bipolar" stores its notch as on at 60 Hz
    ASSERT_EQ(f.open(d), 0);
    EXPECT_EQ(f.ctrl.GetNumArchivedMontage(), 3);
    f.ctrl.setNumMont(31);
    EXPECT_EQ(f.montageName(), "Referential");
    EXPECT_EQ(f.ctrl.ViewMode(), 2);
    f.ctrl.setNumMont(33);
    EXPECT_EQ(f.montageName(), "All recorded electrodes");
    ASSERT_TRUE(f.ctrl.DrawPage(2));
    // Each line shows the zero level less the raw value: 32768 - (4000 + 512 % 500).
    EXPECT_EQ(f.ctrl.model().lineValues(3)[0], 28756.0f);
    f.ctrl.setNumMont(34); // beyond the last choice
    EXPECT_EQ(f.ctrl.numMont(), 0);
    f.ctrl.setNumMont(12); // 0 .. 29 keep the montage
    EXPECT_EQ(f.montageName(), "All recorded electrodes");
    EXPECT_EQ(f.montageEvents, 0);
    f.ctrl.setNotchFreq(50); // the notch on at the mains frequency set: 50 Hz is notch 1
    f.ctrl.setNumMont(30);
    EXPECT_EQ(f.ctrl.recording().currentMontage.notch, 1);
    f.ctrl.setNotchFreq(60);
    f.ctrl.setNumMont(30);
    EXPECT_EQ(f.ctrl.recording().currentMontage.notch, 2);
}

TEST(OlderGenerations, TypeThreeHistoryIsFollowedAsRecorded) {
    Ctrl f;
    RecordingDescription d = historyRecording({0, 5000, 9000});
    d.headerType = 3;
    d.montages[0].baseTime = 15;
    ASSERT_EQ(f.open(d), 0);
    f.ctrl.setNumMont(30); // its archived montage converted: 15 s pages
    EXPECT_EQ(f.ctrl.recording().samplesPerPage, 15u * 500);
    f.ctrl.setGratis(true);
    EXPECT_EQ(f.montageName(), "History 0");
    f.ctrl.DrawPage(11); // frame 5500
    EXPECT_EQ(f.montageName(), "History 1");
    EXPECT_EQ(f.montageEvents, 2);
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
        d.sample = [](int64_t frame, int c) { return int32_t((frame * 7 + c * 50) % 256); };
        Ctrl f;
        ASSERT_EQ(f.open(d), 0) << int(type);
        f.ctrl.setNumMont(static_cast<int16_t>(f.ctrl.GetNumArchivedMontage() + 30));
        ASSERT_EQ(f.lines(), 4) << int(type);
        ASSERT_TRUE(f.ctrl.DrawPage(1)) << int(type);
        const std::vector<std::vector<float>> values = {f.values(0), f.values(1), f.values(2),
                                                        f.values(3)};
        // Zero level less the raw value: frame 256 of line 0 holds 256 * 7 % 256 = 0.
        EXPECT_EQ(values[0].at(0), 128.0f) << int(type);
        reference = reference.empty() ? values : reference;
        EXPECT_EQ(values, reference) << int(type);
    }
}

// A history switch announces the new montage before the page's notes are reported.
TEST(HistorySwitch, AnnouncesTheMontageBeforeThePageNotes) {
    for (uint8_t type : {4, 3}) {
        Ctrl f;
        RecordingDescription d = historyRecording({0, 5000, 9000, -1}, 500, 40);
        d.headerType = type;
        d.notes.push_back(note(5600, "Eyes open"));
        ASSERT_EQ(f.open(d), 0) << int(type);
        f.ctrl.setGratis(true);
        ASSERT_TRUE(f.ctrl.DrawPage(10)) << int(type);
        std::string events;
        int linesSeen = 0;
        QObject::connect(&f.ctrl, &CViewerCtrl::CambiatoMontaggio, [&] {
            events += 'M';
            linesSeen = f.lines();
        });
        QObject::connect(&f.ctrl, &CViewerCtrl::DeleteNote, [&] { events += 'D'; });
        QObject::connect(&f.ctrl, &CViewerCtrl::NoteNotification, [&] { events += 'N'; });
        ASSERT_TRUE(f.ctrl.DrawPage(11)) << int(type);
        EXPECT_EQ(events, "MDN") << int(type);
        EXPECT_EQ(linesSeen, 2) << int(type); // "History 1" is in place in the handler
        events.clear();
        f.ctrl.DrawPage(11);
        EXPECT_EQ(events, "DN") << int(type);
    }
}

} // namespace
} // namespace viewer::testing
