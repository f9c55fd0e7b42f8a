// The last page of a recording: a page ending exactly at the end of the data is whole; one
// frame more and the missing frame reads as electrode 0's zero level.

#include "ctrl_fixture.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

TEST(LastPage, EndingAtTheEndOfTheDataIsWhole) {
    const struct {
        int64_t frames;
        bool whole;
    } cases[] = {{256 * 25, true}, {256 * 25 - 1, false}};
    for (const auto& c : cases) {
        CtrlFixture f;
        RecordingDescription d = montageRecording(256, 25);
        d.frames = c.frames;
        d.electrodes[0].logicGround = 777;
        ASSERT_EQ(f.open(d), 0);
        f.ctrl.setNumMont(31); // 10 s pages
        EXPECT_EQ(f.ctrl.DrawPage(15), c.whole) << c.frames;
        const Recording& rec = f.ctrl.recording();
        ASSERT_EQ(rec.samplesPerPage, 2560u);
        for (uint32_t frame : {0u, 2558u, 2559u}) {
            const int64_t at = 15 * 256 + frame;
            for (int ch = 0; ch < 4; ++ch) {
                const int32_t expected =
                    at < c.frames ? static_cast<int32_t>(1000 * (ch + 1) + at % 500) : 777;
                EXPECT_EQ(rec.pageBuffer[frame * 4 + ch], expected) << c.frames << ' ' << frame;
            }
        }
    }
}

} // namespace
} // namespace viewer::testing
