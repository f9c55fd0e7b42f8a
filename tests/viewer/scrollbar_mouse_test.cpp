// The scroll bar driven by the mouse through its window: track clicks, end buttons and drags.

#include "scrollbar_fixture.h"

#include <QApplication>

namespace viewer::testing {
namespace {

using ScrollBarMouse = ShownScrollBar;

TEST_F(ScrollBarMouse, TrackClicksPageByLargeChangeAndTypeIsSetBeforeChange) {
    bar.setValue(50); // thumb on track pixels 376..457
    events.clear();
    click(600);
    EXPECT_EQ(bar.Value(), 60);
    click(100);
    click(100);
    EXPECT_EQ(bar.Value(), 40);
    click(600, Qt::RightButton);
    EXPECT_EQ(events.valueAtChange, (std::vector<double>{60, 50, 40, 50}));
    EXPECT_EQ(events.typeAtChange, (std::vector<int16_t>{3, 4, 4, 3}));

    EXPECT_TRUE(events.tips.empty());

    // Both edges of the thumb belong to it: a right click there does nothing, a left click is
    // a drag that did not move.
    events.clear();
    const int left = thumb()->x();
    const int right = left + thumb()->width() - 1;
    click(left, Qt::RightButton);
    click(right, Qt::RightButton);
    EXPECT_EQ(events.changes(), 0u);
    click(right);
    EXPECT_EQ(events.valueAtChange, std::vector<double>{50});
    EXPECT_EQ(events.typeAtChange, std::vector<int16_t>{0});
}

TEST_F(ScrollBarMouse, EndButtonsStepBySmallChangeAndTypeIsSetAfterChange) {
    bar.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&bar));
    bar.setSmallChange(3);
    bar.setValue(50);
    bar.setChangeType(9);
    events.clear();

    clickButton("btnRight");
    EXPECT_EQ(bar.Value(), 53);
    EXPECT_EQ(bar.ChangeType(), 1);
    clickButton("btnLeft");
    EXPECT_EQ(bar.Value(), 50);
    EXPECT_EQ(bar.ChangeType(), 2);
    EXPECT_EQ(events.typeAtChange, (std::vector<int16_t>{9, 1}));
    EXPECT_EQ(thumb()->x(), 376);
    EXPECT_EQ(QApplication::focusWidget(), track());
    track()->clearFocus();
    bar.setFocus(); // what the host does: the focus lands on the track
    EXPECT_EQ(QApplication::focusWidget(), track());

    bar.setValue(89);
    clickButton("btnRight");
    EXPECT_EQ(bar.Value(), 90);
    clickButton("btnRight");
    EXPECT_EQ(bar.Value(), 90) << "the last full page holds";
}

TEST_F(ScrollBarMouse, PageLongerThanTheRangeLeavesOnlyTheLeftButton) {
    bar.setMax(5);
    bar.setChangeType(7);
    events.clear();
    clickButton("btnRight");
    click(100);
    click(700);
    EXPECT_EQ(events.changes(), 0u);
    EXPECT_EQ(bar.ChangeType(), 7);

    clickButton("btnLeft");
    EXPECT_EQ(events.valueAtChange, std::vector<double>{0});
    EXPECT_EQ(bar.ChangeType(), 2);

    // A drag of the full-width thumb shows position 0 and then ends without a change.
    bar.setScrollingChangeEvent(false);
    events.clear();
    press(10);
    move(300);
    release(300);
    EXPECT_EQ(events.tips, std::vector<float>{0.0f});
    EXPECT_EQ(events.changes(), 0u);

    // With no range at all the page is always longer.
    bar.setMax(0);
    clickButton("btnRight");
    click(700);
    EXPECT_EQ(events.changes(), 0u);
}

TEST_F(ScrollBarMouse, DragWithoutScrollingChangeReportsOnlyOnRelease) {
    bar.setScrollingChangeEvent(false);
    press(10); // grabs the thumb 150 twips from its left edge
    move(386); // thumb left 5640 twips: position 50
    move(387); // 5655 twips: 50.1329..., shown cut to 50.132
    EXPECT_EQ(thumb()->x(), 377);
    EXPECT_EQ(events.changes(), 0u);
    release(387);
    EXPECT_EQ(events.tips, (std::vector<float>{50.0f, 50.132f}));
    EXPECT_EQ(events.valueAtChange, std::vector<double>{50});
    EXPECT_EQ(events.typeAtChange, std::vector<int16_t>{0});
    EXPECT_EQ(thumb()->x(), 376) << "the thumb snaps to the accepted position";

    // Beyond either end the thumb stops at the track's ends.
    events.clear();
    press(380);
    move(770);
    EXPECT_EQ(thumb()->x() + thumb()->width(), 758);
    move(-15);
    EXPECT_EQ(thumb()->x(), 0);
    release(-15);
    EXPECT_EQ(events.tips, (std::vector<float>{90.0f, 0.0f}));
    EXPECT_EQ(events.valueAtChange, std::vector<double>{0});
}

TEST_F(ScrollBarMouse, DragWithScrollingChangeReportsEveryMove) {
    press(10);
    move(387);
    EXPECT_EQ(thumb()->x(), 376) << "each move snaps the thumb to the accepted position";
    move(500); // 7350 twips: 65.1595...
    release(500);
    EXPECT_EQ(events.tips, (std::vector<float>{50.132f, 65.159f}));
    EXPECT_EQ(events.valueAtChange, (std::vector<double>{50, 65, 65}));
    EXPECT_EQ(events.typeAtChange.back(), 0);
}

TEST_F(ScrollBarMouse, OnlyALeftPressOnTheThumbStartsADrag) {
    press(300); // off the thumb: moves change nothing, the release pages
    move(10);
    release(400);
    press(100, Qt::RightButton); // on the thumb, now at pixels 75..156
    move(300);
    release(300, Qt::RightButton);
    EXPECT_TRUE(events.tips.empty());
    EXPECT_EQ(events.valueAtChange, (std::vector<double>{10, 20}));
    EXPECT_EQ(events.typeAtChange, (std::vector<int16_t>{3, 3}));
}

TEST_F(ScrollBarMouse, ReleasingAnyButtonEndsTheDrag) {
    press(10);
    move(386);
    press(386, Qt::RightButton);
    release(386, Qt::RightButton); // ends the drag at position 50
    move(450);                     // the left button is still down: no longer a drag
    release(500);                  // right of the thumb: a page forward
    EXPECT_EQ(events.tips, std::vector<float>{50.0f});
    EXPECT_EQ(events.valueAtChange, (std::vector<double>{50, 50, 60}));
    EXPECT_EQ(events.typeAtChange, (std::vector<int16_t>{0, 0, 3}));
}

TEST_F(ScrollBarMouse, TrackWithoutRoomTakesNoPositionFromTheMouse) {
    bar.resize(48, kHeight); // a 90-twip track
    bar.setValue(0);
    events.clear();
    press(2);
    move(5);
    release(5);
    click(1);
    EXPECT_TRUE(events.tips.empty());
    EXPECT_EQ(events.changes(), 0u);

    clickButton("btnRight");
    EXPECT_EQ(bar.Value(), 1);
    EXPECT_EQ(events.changes(), 1u);
}

} // namespace
} // namespace viewer::testing
