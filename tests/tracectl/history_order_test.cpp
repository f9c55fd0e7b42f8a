// The order of the control's events when a page crosses a montage history change point:
// the new montage is announced before the page's notes are reported.

#include "ctrl_fixture.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

TEST(HistorySwitch, AnnouncesTheMontageBeforeThePageNotes) {
    for (uint8_t type : {4, 3}) {
        CtrlFixture f;
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
