// An MPEG program stream whose key pictures lie two seconds apart: seeks and the search
// for the end can land after the last key picture, where nothing can be decoded.

#include "clip_harness.h"
#include "video_fixtures.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <vector>

using namespace viewer::testing;

namespace {

void playToCompletion(ClipHarness& h) {
    QElapsedTimer timer;
    timer.start();
    while (h.count("Complete") == 0 && timer.elapsed() < 5000) {
        h.pump(20);
    }
}

} // namespace

TEST(LongGop, SeeksNearTheEndAndPlaysOutWithExactPositions) {
    ClipHarness h;
    h.open(fixtureVideo("longgop.mpg"));
    ASSERT_EQ(h.ctrl().playState(), 3);

    h.clear();
    h.ctrl().setCurrentPosition(4.9);
    h.pump();
    EXPECT_EQ(h.positions(), std::vector<double>{4900});
    EXPECT_DOUBLE_EQ(h.ctrl().CurrentPosition(), 4.9);
    EXPECT_EQ(h.frameShown(), 122);

    h.ctrl().setCurrentPosition(4.16);
    h.pump();
    EXPECT_EQ(h.frameShown(), 104);
    EXPECT_EQ(h.ctrl().SetRelativeFramePosition(30), 0);
    EXPECT_DOUBLE_EQ(h.ctrl().CurrentPosition(), 5.0);
    EXPECT_EQ(h.frameShown(), kVideoFrames - 1);

    h.ctrl().setCurrentPosition(4.5);
    h.pump();
    h.clear();
    ASSERT_EQ(h.ctrl().Play(), 0);
    playToCompletion(h);
    ASSERT_EQ(h.count("Complete"), 1);
    h.pump(150);
    const std::vector<double> positions = h.positions();
    ASSERT_FALSE(positions.empty());
    EXPECT_NEAR(positions.front(), 4500, 40);
    EXPECT_EQ(positions.back(), 5000);
    EXPECT_DOUBLE_EQ(h.ctrl().CurrentPosition(), 5.0);
    EXPECT_EQ(h.frameShown(), kVideoFrames - 1);
    EXPECT_TRUE(h.messages().empty());
}

TEST(LongGop, PlaysFromTheStartToTheEndWithoutMessages) {
    ClipHarness h;
    h.open(fixtureVideo("longgop.mpg"));
    h.ctrl().setCurrentPosition(3.0);
    h.pump();
    EXPECT_EQ(h.frameShown(), 75);
    h.clear();
    ASSERT_EQ(h.ctrl().Play(), 0);
    playToCompletion(h);
    ASSERT_EQ(h.count("Complete"), 1);
    h.pump(100);
    EXPECT_NEAR(h.positions().back(), 5000, 1);
    EXPECT_EQ(h.frameShown(), kVideoFrames - 1);
    EXPECT_TRUE(h.messages().empty());
}
