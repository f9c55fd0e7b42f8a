// Opening, identifying and validating a trace file, and what it leaves in the recording.

#include "fixtures.h"

#include <gtest/gtest.h>

#include <fstream>

namespace viewer::testing {
namespace {

TEST(OpenRecording, AcceptsAGoodFileAndDerivesItsSizes) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    EXPECT_TRUE(o.rec.isOpen());
    EXPECT_FALSE(o.rec.fileInvalid);
    EXPECT_EQ(o.rec.header.rate, 256);
    EXPECT_EQ(o.rec.header.numChannels, 4);
    EXPECT_EQ(o.rec.header.multiplexer, 8);
    EXPECT_EQ(o.rec.totalSamples, 2560);
    EXPECT_EQ(o.rec.fileLength, o.rec.header.dataStart + 2560 * 8);
    EXPECT_EQ(o.rec.orderTable[2], 14);
    EXPECT_EQ(o.rec.electrodes[14].status, 1);
}

TEST(OpenRecording, CheckSumIgnoresTheVideoBit) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.videoFlag = true;
    OpenedRecording withVideo(dir, d, "video.vwr");
    ASSERT_TRUE(withVideo.opened);
    EXPECT_EQ(withVideo.rec.header.checkWord & 0x8000, 0x8000);

    // Blank patient fields: six blanks and the three birth bytes.
    RecordingDescription blank = fourChannels();
    blank.surname = "";
    blank.name = "";
    blank.birthDay = 1;
    blank.birthMonth = 2;
    blank.birthYear = 3;
    blank.checkWord = 6 * 32 + 1 + 2 + 3;
    EXPECT_TRUE(OpenedRecording(dir, blank, "blank.vwr").opened);
    blank.checkWord = 6 * 32 + 1 + 2 + 3 + 1;
    EXPECT_FALSE(OpenedRecording(dir, blank, "wrong.vwr").opened);
}

} // namespace
} // namespace viewer::testing
