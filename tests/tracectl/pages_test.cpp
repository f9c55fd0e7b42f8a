// Pages through the control: DrawPage's result, the page length and the notch setting.

#include "ctrl_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace viewer::testing {
namespace {

std::vector<float> values(const CViewerCtrl& ctrl, int line) {
    const std::span<const float> v = ctrl.model().lineValues(line);
    return {v.begin(), v.end()};
}

TEST(DrawPage, ReportsWhetherTheWholePageLayInTheData) {
    CtrlFixture f;
    EXPECT_FALSE(f.ctrl.DrawPage(0)); // no file
    RecordingDescription d = montageRecording(256, 30);
    d.frames = 256 * 25; // two and a half pages of 10 s
    ASSERT_EQ(f.open(d), 0);
    EXPECT_FALSE(f.ctrl.DrawPage(0)); // no lines until a montage is chosen
    f.ctrl.setNumMont(31);
    EXPECT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_TRUE(f.ctrl.DrawPage(14));
    EXPECT_TRUE(f.ctrl.DrawPage(15));  // ends exactly at the end of the data
    EXPECT_FALSE(f.ctrl.DrawPage(20)); // half a page
    EXPECT_EQ(f.ctrl.recording().pageStart, 20u * 256u);
    for (int32_t sec : {25, 26, -1, std::numeric_limits<int32_t>::max()}) {
        EXPECT_FALSE(f.ctrl.DrawPage(sec)) << sec;
        EXPECT_EQ(f.ctrl.recording().pageStart, 20u * 256u) << sec;
    }
}

TEST(SetSecNumber, SetsThePageLengthWithinTheLimits) {
    CtrlFixture f;
    EXPECT_FLOAT_EQ(f.ctrl.SetSecNumber(10.0f), 1.0f); // no file: the initial 1 s cap
    ASSERT_EQ(f.open(montageRecording(256, 30)), 0);   // maxPageMs 1280000
    f.ctrl.setNumMont(31);
    EXPECT_FLOAT_EQ(f.ctrl.SetSecNumber(2.5f), 2.5f);
    EXPECT_FLOAT_EQ(f.ctrl.secNumber(), 2.5f);
    EXPECT_EQ(f.ctrl.recording().samplesPerPage, 640u);
    ASSERT_TRUE(f.ctrl.DrawPage(1));
    EXPECT_EQ(f.ctrl.model().lineValues(0).size(), 640u);
    EXPECT_FLOAT_EQ(f.ctrl.SetSecNumber(-3.0f), 0.0f);
    EXPECT_FLOAT_EQ(f.ctrl.SetSecNumber(std::nanf("")), 0.0f);
    EXPECT_FLOAT_EQ(f.ctrl.SetSecNumber(1e9f), 1280.0f);
    EXPECT_LE(static_cast<int64_t>(f.ctrl.recording().samplesPerPage) * 4, kPageBufferValues);
    EXPECT_FALSE(f.ctrl.DrawPage(0)); // 1280 s reach past the 30 s recorded
}

TEST(SetNotchFilter, StoresTheLowByteAndRestartsTheFilters) {
    CtrlFixture f;
    ASSERT_EQ(f.open(montageRecording(256, 30)), 0);
    f.ctrl.setNumMont(31); // "Referential": 0.53 Hz and 70 Hz, notch off
    EXPECT_FALSE(f.ctrl.GetNotchFilter());
    f.ctrl.SetNotchFilter(1);
    EXPECT_TRUE(f.ctrl.GetNotchFilter());
    EXPECT_TRUE(f.ctrl.model().filters().line(0).notchOn());
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const std::vector<float> first = values(f.ctrl, 0);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_NE(values(f.ctrl, 0), first); // the filters went on from the last page
    f.ctrl.SetNotchFilter(0x101);        // low byte 1: the same notch, state cleared
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(values(f.ctrl, 0), first);
    f.ctrl.SetNotchFilter(0x100);
    EXPECT_FALSE(f.ctrl.GetNotchFilter());
    EXPECT_FALSE(f.ctrl.model().filters().line(0).notchOn());
}

} // namespace
} // namespace viewer::testing
