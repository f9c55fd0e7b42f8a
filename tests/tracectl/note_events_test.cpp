// The note events of a trace drawing: which notes, where, in what order, and a host that
// changes the recording from its handler.

#include "drawing_fixture.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

RecordingDescription withNotes() {
    RecordingDescription d = flatRecording();
    // The page at second 10 runs from frame 2560 to 5120 (excluded).
    d.notes = {note(300, "before"),    note(2560, "page start"),
               note(-4, "negative"),   note(3840, std::string(45, 'n')),
               note(5120, "page end"), note(4000, "after the end, still inside"),
               note(5121, "beyond"),   note(4100, "never reached")};
    return d;
}

TEST(NoteEvents, DeleteNoteThenEachNoteOfThePageInTableOrder) {
    DrawingFixture f;
    std::vector<std::string> order;
    QObject::connect(&f.ctrl, &CViewerCtrl::DeleteNote, [&] { order.push_back("delete"); });
    QObject::connect(&f.ctrl, &CViewerCtrl::NoteNotification,
                     [&](int16_t, int32_t, const QString&) { order.push_back("note"); });
    f.show(withNotes());
    f.ctrl.setTraceOverLabel(false);
    const int32_t label = f.ctrl.GetMaxLarghEtichette();
    const int32_t traceWidth = 1000 - label;
    ASSERT_TRUE(f.ctrl.DrawPage(10));
    EXPECT_EQ(f.deletes, 1);
    ASSERT_EQ(f.notes.size(), 3u);
    EXPECT_EQ(order, (std::vector<std::string>{"delete", "note", "note", "note"}));
    EXPECT_EQ(f.notes[0], std::make_tuple(int16_t{0}, label, QStringLiteral("page start")));
    EXPECT_EQ(f.notes[1],
              std::make_tuple(int16_t{1}, label + traceWidth / 2, QString(39, QLatin1Char('n'))));
    // A note exactly at the page end is passed over and the walk goes on to this one.
    EXPECT_EQ(std::get<2>(f.notes[2]), QStringLiteral("after the end, still inside"));
    EXPECT_EQ(std::get<1>(f.notes[2]),
              label + static_cast<int32_t>(int64_t{traceWidth} * (4000 - 2560) / 2560));
    // The table keeps the repair and the cut.
    EXPECT_EQ(f.ctrl.recording().notes[2].sample, 1);
    EXPECT_EQ(f.ctrl.recording().notes[3].text[39], '\0');

    // The repaired note lies on the first page; the label column is gone with traceOverLabel.
    f.notes.clear();
    f.ctrl.setTraceOverLabel(true);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    ASSERT_EQ(f.notes.size(), 2u);
    EXPECT_EQ(f.notes[0],
              std::make_tuple(int16_t{0}, int32_t{300 * 1000 / 2560}, QStringLiteral("before")));
    EXPECT_EQ(f.notes[1],
              std::make_tuple(int16_t{1}, int32_t{1000 / 2560}, QStringLiteral("negative")));
}

TEST(NoteEvents, EveryTraceDrawingReportsAndNoneWithoutLines) {
    DrawingFixture f;
    f.show(withNotes());
    ASSERT_TRUE(f.ctrl.DrawPage(10));
    f.ctrl.Redraw(false);
    EXPECT_EQ(f.deletes, 2);
    EXPECT_EQ(f.notes.size(), 6u);
    f.ctrl.setGratis(false); // no lines
    f.ctrl.Redraw(true);
    EXPECT_FALSE(f.ctrl.DrawPage(10));
    EXPECT_EQ(f.deletes, 2);
}

TEST(NoteEvents, AHostThatOpensAnotherFileFromItsHandlerStillGetsThisPagesNotes) {
    DrawingFixture f;
    f.show(withNotes());
    RecordingDescription other = flatRecording();
    other.notes = {note(2600, "other file")};
    writeRecording(f.dir.file("other.vwr"), other);
    bool opened = false;
    QObject::connect(
        &f.ctrl, &CViewerCtrl::NoteNotification, [&](int16_t, int32_t, const QString&) {
            if (!opened) {
                opened = true;
                EXPECT_EQ(f.ctrl.FileName(QString::fromStdString(f.dir.file("other.vwr"))), 0);
            }
        });
    ASSERT_TRUE(f.ctrl.DrawPage(10));
    ASSERT_EQ(f.notes.size(), 3u);
    EXPECT_EQ(std::get<2>(f.notes[1]), QString(39, QLatin1Char('n')));
    EXPECT_EQ(std::get<2>(f.notes[2]), QStringLiteral("after the end, still inside"));
    EXPECT_EQ(f.ctrl.recording().notes[0].sample, 2600);
}

TEST(NoteEvents, AHostThatDrawsAnotherPageFromItsHandlerGetsBothPagesInFull) {
    DrawingFixture f;
    f.show(withNotes());
    bool redrawn = false;
    QObject::connect(&f.ctrl, &CViewerCtrl::NoteNotification,
                     [&](int16_t, int32_t, const QString&) {
                         if (!redrawn) {
                             redrawn = true;
                             f.ctrl.DrawPage(0);
                         }
                     });
    ASSERT_TRUE(f.ctrl.DrawPage(10));
    // Page 10's first note, page 0's two notes, then page 10's other two.
    ASSERT_EQ(f.notes.size(), 5u);
    EXPECT_EQ(std::get<2>(f.notes[0]), QStringLiteral("page start"));
    EXPECT_EQ(std::get<2>(f.notes[1]), QStringLiteral("before"));
    EXPECT_EQ(std::get<2>(f.notes[2]), QStringLiteral("negative"));
    EXPECT_EQ(std::get<0>(f.notes[3]), 1);
    EXPECT_EQ(std::get<2>(f.notes[4]), QStringLiteral("after the end, still inside"));
}

} // namespace
} // namespace viewer::testing
