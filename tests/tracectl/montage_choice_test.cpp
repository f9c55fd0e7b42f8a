// Choosing the montage through the control: "As recorded", numMont, and the events that
// tell the host a history montage was loaded.

#include "ctrl_fixture.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

TEST(HistoryMontages, DrawPageSwitchesAfterEachChangePoint) {
    CtrlFixture f;
    ASSERT_EQ(f.open(historyRecording({0, 5000, 9000, -1}, 500, 40)), 0);
    EXPECT_EQ(f.lines(), 0); // "As recorded" was not asked for
    f.ctrl.setGratis(true);
    EXPECT_TRUE(f.ctrl.gratis());
    EXPECT_EQ(f.montageEvents, 1);
    EXPECT_EQ(f.montageName(), "History 0");

    EXPECT_TRUE(f.ctrl.DrawPage(10)); // frame 5000: exactly on the change point
    EXPECT_EQ(f.montageName(), "History 0");
    EXPECT_EQ(f.montageEvents, 1);
    EXPECT_TRUE(f.ctrl.DrawPage(11));
    EXPECT_EQ(f.montageName(), "History 1");
    EXPECT_EQ(f.lines(), 2);
    EXPECT_EQ(f.montageEvents, 2);
    EXPECT_TRUE(f.ctrl.DrawPage(11));
    EXPECT_EQ(f.montageEvents, 2);
    EXPECT_TRUE(f.ctrl.DrawPage(20));
    EXPECT_EQ(f.montageName(), "History 2");
    EXPECT_EQ(f.montageEvents, 3);
    EXPECT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.montageName(), "History 0");
    EXPECT_EQ(f.montageEvents, 4);

    // Not following the history, pages never switch montage.
    f.ctrl.setGratis(false);
    EXPECT_EQ(f.lines(), 0);
    EXPECT_FALSE(f.ctrl.DrawPage(20));
    EXPECT_EQ(f.montageEvents, 4);
}

TEST(HistoryMontages, AHistoryStartingWithItsEndNeverSwitches) {
    CtrlFixture f;
    RecordingDescription d = historyRecording({-1}, 500, 40);
    d.historyMontages = {named(montage("", {{1, 2}}), "Only")};
    ASSERT_EQ(f.open(d), 0);
    f.ctrl.setGratis(true);
    ASSERT_EQ(f.montageEvents, 1);
    for (int32_t sec : {0, 1, 11, 20, 29}) {
        EXPECT_TRUE(f.ctrl.DrawPage(sec));
    }
    EXPECT_EQ(f.montageEvents, 1);
    EXPECT_EQ(f.ctrl.recording().historyIndex, 0);
}

TEST(HistoryMontages, AsRecordedIsRefusedWithoutAHistory) {
    CtrlFixture f;
    f.ctrl.setGratis(true); // no file yet
    EXPECT_FALSE(f.ctrl.gratis());
    ASSERT_EQ(f.open(montageRecording()), 0);
    f.ctrl.setNumMont(31);
    f.ctrl.setGratis(true);
    EXPECT_FALSE(f.ctrl.gratis());
    EXPECT_EQ(f.montageName(), "Referential");
    EXPECT_EQ(f.montageEvents, 0);
}

TEST(HistoryMontages, FileNameLoadsTheHistoryMontageWhileAsRecorded) {
    CtrlFixture f;
    ASSERT_EQ(f.open(historyRecording({0, 5000, -1}), "first.vwr"), 0);
    f.ctrl.setGratis(true);
    ASSERT_TRUE(f.ctrl.DrawPage(11));
    ASSERT_EQ(f.montageName(), "History 1");
    const int before = f.montageEvents;
    // The history index carries over to the next recording until a page corrects it.
    ASSERT_EQ(f.open(historyRecording({0, 2000, -1}), "second.vwr"), 0);
    EXPECT_EQ(f.montageEvents, before + 1);
    EXPECT_EQ(f.montageName(), "History 1");
    EXPECT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.montageName(), "History 0");
}

TEST(HistoryMontages, AnAreaNotNamedHistoryIsNeverFollowed) {
    CtrlFixture f;
    ASSERT_EQ(f.open(historyRecording({0, 5000, -1}), "history.vwr"), 0);
    f.ctrl.setGratis(true);
    ASSERT_TRUE(f.ctrl.DrawPage(11));
    ASSERT_EQ(f.montageName(), "History 1");
    const int before = f.montageEvents;
    // The same change points and montages, in an area whose name ends in NUL.
    RecordingDescription unnamed = historyRecording({0, 5000, -1});
    unnamed.areaNames[Area::History] = {'H', 'I', 'S', 'T', 'O', 'R', 'Y', '\0'};
    ASSERT_EQ(f.open(unnamed, "unnamed.vwr"), 0);
    EXPECT_TRUE(f.ctrl.gratis());
    EXPECT_EQ(f.lines(), 0);
    for (int32_t sec : {0, 11, 0}) {
        EXPECT_FALSE(f.ctrl.DrawPage(sec));
    }
    EXPECT_EQ(f.montageEvents, before);
    EXPECT_EQ(f.lines(), 0);
}

TEST(NumMont, ChoosesArchivedMontagesAndAllElectrodes) {
    CtrlFixture f;
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
    EXPECT_FLOAT_EQ(f.ctrl.secNumber(), 10.0f);
    ASSERT_TRUE(f.ctrl.DrawPage(2));
    // Each line shows the zero level less the raw value of its channel.
    EXPECT_EQ(f.ctrl.model().lineValues(3)[0], static_cast<float>(32768 - (4000 + 512 % 500)));

    f.ctrl.setNumMont(34); // beyond the last choice
    EXPECT_EQ(f.ctrl.numMont(), 0);
    EXPECT_EQ(f.montageName(), "All recorded electrodes");
    f.ctrl.setNumMont(12); // 0 .. 29 keep the montage
    EXPECT_EQ(f.ctrl.numMont(), 12);
    EXPECT_EQ(f.montageName(), "All recorded electrodes");
    EXPECT_EQ(f.montageEvents, 0);
}

TEST(NumMont, HasNoEffectWithoutAFileOrWhileAsRecorded) {
    CtrlFixture f;
    f.ctrl.setNumMont(33);
    EXPECT_EQ(f.ctrl.numMont(), 33);
    EXPECT_EQ(f.lines(), 0);
    EXPECT_FALSE(f.ctrl.isModified());

    ASSERT_EQ(f.open(historyRecording({0, -1})), 0);
    f.ctrl.setGratis(true);
    f.ctrl.setNumMont(30);
    EXPECT_EQ(f.montageName(), "History 0");
}

TEST(NumMont, MapsAnArchivedNotchThroughNotchFreq) {
    CtrlFixture f;
    ASSERT_EQ(f.open(montageRecording()), 0);
    f.ctrl.setNotchFreq(60);
    f.ctrl.setNumMont(30); // "Bipolar" stores its notch as on
    EXPECT_EQ(f.ctrl.recording().currentMontage.notch, 2);
    EXPECT_TRUE(f.ctrl.model().filters().line(0).notchOn());
    f.ctrl.setNotchFreq(55);
    f.ctrl.setNumMont(30);
    EXPECT_EQ(f.ctrl.recording().currentMontage.notch, 1);
    f.ctrl.setNumMont(31); // "Referential" stores it off
    EXPECT_FALSE(f.ctrl.GetNotchFilter());
}

TEST(NumMont, UsesTheCountLeftByGetNumArchivedMontage) {
    CtrlFixture f;
    RecordingDescription d = montageRecording();
    d.rawAreas[Area::Montage] = std::vector<uint8_t>(4096 * 3, 0);
    ASSERT_EQ(f.open(d), 0);
    EXPECT_EQ(f.ctrl.GetNumArchivedMontage(), 0);
    f.ctrl.setNumMont(30);
    EXPECT_EQ(f.montageName(), "All recorded electrodes");
}

TEST(CambiatoMontaggio, FiresWhenTheControlIsReadyToDraw) {
    CtrlFixture f;
    ASSERT_EQ(f.open(historyRecording({0, 5000, 9000, -1}, 500, 40), "first.vwr"), 0);
    f.ctrl.setGratis(true);
    struct Seen {
        bool drawn = false;
        int lines = 0;
        size_t values = 0;
        uint8_t lastKind = 0;
    };
    std::vector<Seen> seen;
    QObject::connect(&f.ctrl, &CViewerCtrl::CambiatoMontaggio, [&] {
        Seen s;
        s.drawn = f.ctrl.DrawPage(f.ctrl.recording().pageStart / 500);
        s.lines = f.lines();
        s.values = f.ctrl.model().lineValues(s.lines - 1).size();
        s.lastKind = f.ctrl.recording().derivations[s.lines - 1].kind;
        seen.push_back(s);
    });
    EXPECT_TRUE(f.ctrl.DrawPage(20));
    ASSERT_EQ(f.open(historyRecording({0, 5000, 9000, -1}, 500, 40), "second.vwr"), 0);
    ASSERT_EQ(seen.size(), 2u);
    for (const Seen& s : seen) {
        EXPECT_TRUE(s.drawn);
        EXPECT_EQ(s.lines, 3);
        EXPECT_EQ(s.values, 5000u);
        EXPECT_EQ(s.lastKind, kBothInputs);
    }
}

} // namespace
} // namespace viewer::testing
