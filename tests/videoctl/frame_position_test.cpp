// Seeks and frame steps land on the right frame, read from the number burnt into each
// fixture picture, for every kind of file the control builds a graph for.

#include "clip_harness.h"
#include "video_fixtures.h"

#include <gtest/gtest.h>

#include <vector>

using namespace viewer::testing;

class FramePosition : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        h.open(fixtureVideo(GetParam()));
        ASSERT_EQ(h.ctrl().playState(), 3);
    }

    // Steps and returns the frame on screen; expects exactly one PositionChange of `ms`.
    int step(int frames, double ms) {
        h.clear();
        EXPECT_EQ(h.ctrl().SetRelativeFramePosition(frames), 0);
        EXPECT_TRUE(h.events().empty()) << "events come after the call has returned";
        h.pump();
        EXPECT_EQ(h.positions(), std::vector<double>{ms});
        EXPECT_EQ(h.count("Complete"), 0);
        return h.frameShown();
    }

    int seek(double seconds) {
        h.clear();
        h.ctrl().setCurrentPosition(seconds);
        h.pump();
        EXPECT_EQ(h.positions(), std::vector<double>{seconds * 1000});
        return h.frameShown();
    }

    ClipHarness h;
};

TEST_P(FramePosition, OpensOnTheFirstFrame) {
    EXPECT_EQ(h.frameShown(), 0);
    EXPECT_EQ(h.ctrl().CurrentPosition(), 0.0);
    EXPECT_TRUE(h.messages().empty());
}

TEST_P(FramePosition, StepsAndSeeksLandOnTheirFrame) {
    EXPECT_EQ(step(1, 40), 1);
    EXPECT_EQ(step(24, 1000), 25);
    EXPECT_EQ(step(-10, 600), 15);
    EXPECT_EQ(seek(3.0), 75);
    EXPECT_EQ(step(1, 3040), 76);
    EXPECT_EQ(step(-76, 0), 0);
    EXPECT_EQ(seek(0.52), 13);
    // Between two frames the earlier one shows, and steps go on from the time, not the frame.
    EXPECT_EQ(seek(0.5), 12);
    EXPECT_EQ(step(1, 540), 13);
    EXPECT_EQ(seek(4.0), 100);
    EXPECT_EQ(seek(1.2), 30);
    EXPECT_DOUBLE_EQ(h.ctrl().CurrentPosition(), 1.2);
    EXPECT_TRUE(h.messages().empty());
}

TEST_P(FramePosition, StepsBeforeTheStartLandOnIt) {
    EXPECT_EQ(step(10, 400), 10);
    EXPECT_EQ(step(-100, 0), 0);
    EXPECT_EQ(h.ctrl().CurrentPosition(), 0.0);
    EXPECT_EQ(step(-1, 0), 0);
}

TEST_P(FramePosition, StepsOntoAndPastTheEnd) {
    // Exactly onto the end: the position only.
    seek(4.0);
    EXPECT_EQ(step(25, 5000), kVideoFrames - 1);
    EXPECT_DOUBLE_EQ(h.ctrl().CurrentPosition(), 5.0);
    // Past it: the end, then Complete.
    seek(4.96);
    h.clear();
    EXPECT_EQ(h.ctrl().SetRelativeFramePosition(2), 0);
    h.pump();
    ASSERT_EQ(h.events().size(), 2u);
    EXPECT_EQ(h.events()[0].name, "PositionChange");
    EXPECT_EQ(h.events()[0].value, 5000);
    EXPECT_EQ(h.events()[1].name, "Complete");
    EXPECT_EQ(h.frameShown(), kVideoFrames - 1);
    EXPECT_EQ(h.ctrl().playState(), 3);
    // And back from there: the last frame starts 40 ms before the end.
    EXPECT_EQ(step(-1, 4960), kVideoFrames - 1);
    EXPECT_EQ(step(-1, 4920), kVideoFrames - 2);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FramePosition,
                         ::testing::Values("clip.mpg", "silent.mpg", "clip.dat", "clip.wmv",
                                           "clip.avi", "clip.mts", "sound.mts"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             name[name.find('.')] = '_';
                             return name;
                         });
