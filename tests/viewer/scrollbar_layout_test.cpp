// The scroll bar's layout in twips and how it is shown: buttons, track, thumb, colours.

#include "scrollbar_fixture.h"

#include <QIcon>
#include <QImage>

namespace viewer::testing {
namespace {

using ScrollBarLayout = ShownScrollBar;

TEST_F(ScrollBarLayout, ResizePlacesSquareButtonsAroundTheTrack) {
    EXPECT_EQ(button("btnLeft")->geometry(), QRect(0, 0, 21, 21));
    EXPECT_EQ(track()->geometry(), QRect(21, 0, 758, 21));
    EXPECT_EQ(button("btnRight")->geometry(), QRect(779, 0, 21, 21));
    EXPECT_EQ(bar.realWidth(), 315);
    EXPECT_EQ(bar.geometryTwips().trackWidth(), 11370);

    bar.resize(600, 30);
    EXPECT_EQ(button("btnLeft")->geometry(), QRect(0, 0, 30, 30));
    EXPECT_EQ(track()->geometry(), QRect(30, 0, 540, 30));
    EXPECT_EQ(button("btnRight")->geometry(), QRect(570, 0, 30, 30));
    EXPECT_EQ(bar.realWidth(), 450);
    EXPECT_EQ(thumb()->height(), 30);
}

TEST_F(ScrollBarLayout, ThumbSizeAndPlaceFollowRangePageAndValue) {
    const ScrollBarGeometry& g = bar.geometryTwips();
    EXPECT_EQ(g.thumbWidth(), 1218);
    EXPECT_EQ(g.thumbLeft(), 0);
    EXPECT_EQ(thumb()->geometry(), QRect(0, 0, 81, 21));

    bar.setValue(50);
    EXPECT_EQ(g.thumbLeft(), 5640);
    EXPECT_EQ(thumb()->geometry(), QRect(376, 0, 81, 21));

    // The last full page puts the thumb's right edge on the track's end.
    bar.setValue(90);
    EXPECT_DOUBLE_EQ(g.thumbRight(), 11370);

    // A page longer than the range: the thumb fills the track. A range write does not
    // re-check the position, so the thumb stands far beyond the track until Value is written.
    bar.setMax(5);
    EXPECT_EQ(g.thumbLeft(), 11280 * 90 / 5);
    bar.setValue(90);
    EXPECT_EQ(g.thumbLeft(), 0);
    EXPECT_EQ(g.thumbWidth(), 11370);
    EXPECT_EQ(thumb()->geometry(), QRect(0, 0, 758, 21));

    // Below the 90-twip minimum the thumb keeps that minimum.
    bar.setMax(1000000);
    EXPECT_EQ(g.thumbWidth(), 90);
}

TEST_F(ScrollBarLayout, RangeZeroLeavesTheThumbWhereItWas) {
    bar.setValue(50);
    const QRect before = thumb()->geometry();
    bar.setMax(0);
    EXPECT_EQ(thumb()->geometry(), before);
    bar.resize(kWidth, 30);
    EXPECT_EQ(thumb()->geometry(), QRect(before.x(), 0, before.width(), 30));
}

TEST_F(ScrollBarLayout, NarrowControlHasNoRoomAndNoNegativeSizes) {
    bar.resize(48, kHeight);
    EXPECT_FALSE(bar.geometryTwips().hasRoom());
    EXPECT_EQ(track()->width(), 6);
    EXPECT_EQ(thumb()->geometry(), QRect(0, 0, 6, 21));

    bar.resize(30, kHeight);
    EXPECT_EQ(bar.geometryTwips().trackWidth(), 0);
    EXPECT_EQ(track()->width(), 0);
    EXPECT_EQ(button("btnRight")->x(), 21);

    // A negative range would make the thumb narrower than nothing.
    bar.resize(kWidth, kHeight);
    bar.setMax(-100);
    EXPECT_EQ(bar.geometryTwips().thumbWidth(), 0);
    EXPECT_EQ(thumb()->width(), 0);
}

TEST_F(ScrollBarLayout, DrawsTrackAndThumbInTheirGreys) {
    bar.setValue(50);
    const QImage shot = bar.grab().toImage();
    const QPoint thumbOrigin = track()->pos() + thumb()->pos();
    EXPECT_EQ(shot.pixel(thumbOrigin + QPoint(40, 10)), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(shot.pixel(thumbOrigin), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(shot.pixel(thumbOrigin + QPoint(80, 20)), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(shot.pixel(track()->pos() + QPoint(100, 10)), qRgb(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(shot.pixel(track()->pos() + QPoint(700, 10)), qRgb(0xE0, 0xE0, 0xE0));
}

// Opaque pixels per column of a button's picture, from the left.
std::vector<int> opaqueColumns(const QPushButton* b) {
    const QImage picture = b->icon().pixmap(16, 16).toImage();
    std::vector<int> columns;
    for (int x = 0; x < picture.width(); ++x) {
        int opaque = 0;
        for (int y = 0; y < picture.height(); ++y) {
            opaque += qAlpha(picture.pixel(x, y)) > 128 ? 1 : 0;
        }
        if (opaque > 0) {
            columns.push_back(opaque);
        }
    }
    return columns;
}

TEST_F(ScrollBarLayout, ButtonsShowArrowsPointingOutwards) {
    EXPECT_EQ(button("btnLeft")->icon().availableSizes().value(0), QSize(16, 16));
    const std::vector<int> left = opaqueColumns(button("btnLeft"));
    const std::vector<int> right = opaqueColumns(button("btnRight"));
    ASSERT_GE(left.size(), 2u);
    ASSERT_GE(right.size(), 2u);
    EXPECT_LT(left.front(), left.back()) << "the left arrow's tip is its narrow left end";
    EXPECT_GT(right.front(), right.back()) << "the right arrow's tip is its narrow right end";
}

} // namespace
} // namespace viewer::testing
