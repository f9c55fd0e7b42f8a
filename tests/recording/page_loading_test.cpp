// Reading a page of frames into the page buffer: widening, the page at the end of the file.

#include "fixtures.h"
#include "montage_recordings.h"
#include "page_loading.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

struct Loaded : OpenedRecording {
    Loaded(const TempDir& dir, const RecordingDescription& d, const std::string& name = "p.vwr")
        : OpenedRecording(dir, d, name) {
        rec.pageBuffer.assign(kPageBufferValues, 0);
    }
    int32_t at(uint32_t frame, int channel) const {
        return rec.pageBuffer[frame * rec.header.numChannels + channel];
    }
};

RecordingDescription samplesOfWidth(uint16_t width, std::function<int32_t(int64_t, int)> s) {
    RecordingDescription d = montageRecording(100, 2);
    d.bytesPerSample = width;
    d.sample = std::move(s);
    return d;
}

TEST(LoadPage, WidensEachSampleWidth) {
    TempDir dir;
    const auto pattern = [](int64_t f, int c) {
        return static_cast<int32_t>(c == 0 ? -1 : c == 1 ? 0x80 + f : 0x7F);
    };
    Loaded one(dir, samplesOfWidth(1, pattern), "one.vwr");
    ASSERT_TRUE(one.opened);
    ASSERT_TRUE(LoadPage(one.rec, 10, 50));
    EXPECT_EQ(one.at(0, 0), 255); // unsigned bytes
    EXPECT_EQ(one.at(0, 1), 0x80 + 10);
    EXPECT_EQ(one.at(49, 1), 0x80 + 59);
    EXPECT_EQ(one.at(49, 2), 0x7F);

    Loaded two(dir, samplesOfWidth(2, pattern), "two.vwr");
    ASSERT_TRUE(two.opened);
    ASSERT_TRUE(LoadPage(two.rec, 10, 50));
    EXPECT_EQ(two.at(0, 0), 65535); // 0xFFFF is 65535, not -1
    EXPECT_EQ(two.at(49, 1), 0x80 + 59);

    Loaded four(dir,
                samplesOfWidth(
                    4,
                    [](int64_t f, int c) {
                        return static_cast<int32_t>(c == 0 ? -5 - f : c == 1 ? 0x7FFFFFFF : 70000);
                    }),
                "four.vwr");
    ASSERT_TRUE(four.opened);
    ASSERT_TRUE(LoadPage(four.rec, 10, 50));
    EXPECT_EQ(four.at(0, 0), -15);
    EXPECT_EQ(four.at(49, 0), -64);
    EXPECT_EQ(four.at(49, 1), 0x7FFFFFFF);
    EXPECT_EQ(four.at(49, 2), 70000);
}

TEST(LoadPage, ThePageAtTheEndReadsTheMissingFramesAsTheZeroLevel) {
    TempDir dir;
    RecordingDescription d = montageRecording(100, 2); // 200 frames
    d.frames = 1050;                                   // 10.5 pages of 100 frames
    d.electrodes[0] = eegElectrode("G2");
    d.electrodes[0].logicGround = 0x12345; // cut to the 2-byte sample width
    Loaded o(dir, d);
    ASSERT_TRUE(o.opened);

    EXPECT_TRUE(LoadPage(o.rec, 900, 100));
    EXPECT_EQ(o.at(99, 0), 1000 + 999 % 500);

    EXPECT_FALSE(LoadPage(o.rec, 1000, 100));
    EXPECT_EQ(o.at(0, 0), 1000 + 1000 % 500);
    EXPECT_EQ(o.at(49, 3), 4000 + 1049 % 500);
    EXPECT_EQ(o.at(50, 0), 0x2345);
    EXPECT_EQ(o.at(99, 3), 0x2345);

    // A page that ends exactly at the end of the file is whole.
    EXPECT_TRUE(LoadPage(o.rec, 950, 100));
    EXPECT_EQ(o.at(99, 1), 2000 + 1049 % 500);
}

TEST(LoadPage, APageStartingPastTheEndLeavesTheBufferAlone) {
    TempDir dir;
    Loaded o(dir, montageRecording(100, 2));
    ASSERT_TRUE(o.opened);
    ASSERT_TRUE(LoadPage(o.rec, 0, 100));
    const std::vector<int32_t> before(o.rec.pageBuffer.begin(), o.rec.pageBuffer.begin() + 400);
    EXPECT_FALSE(LoadPage(o.rec, 200, 100));
    EXPECT_FALSE(LoadPage(o.rec, 4000000000u, 100));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), o.rec.pageBuffer.begin()));
}

TEST(LoadPage, NeverWritesMoreThanTheBufferHolds) {
    TempDir dir;
    Loaded o(dir, montageRecording(100, 2));
    ASSERT_TRUE(o.opened);
    EXPECT_FALSE(LoadPage(o.rec, 0, 0xFFFFFFFFu));
    EXPECT_EQ(o.rec.pageBuffer.size(), static_cast<size_t>(kPageBufferValues));
    EXPECT_EQ(o.at(199, 0), 1000 + 199);

    Recording closed;
    EXPECT_FALSE(LoadPage(closed, 0, 10));
}

} // namespace
} // namespace viewer::testing
