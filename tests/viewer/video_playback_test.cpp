// Video and trace following each other while the video plays: the page turns with the video,
// paging the trace re-seeks the playing video, and one video file leads into the next.

#include "mini_main_window.h"
#include "temp_dir.h"
#include "video_files.h"

#include <QFileInfo>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace viewer::testing {
namespace {

class VideoPlayback : public ::testing::Test {
protected:
    // Three videos of 3 s: file 1 from second 1, file 2 from second 4 (where file 1 ends),
    // file 3 from second 9 after a gap.
    void SetUp() override {
        const std::string path = dir.file("rec.vwr");
        writeRecording(path, videoRecording({{1000, 3000, 1}, {4000, 3000, 2}, {9000, 3000, 3}}));
        for (int n = 1; n <= 3; ++n) {
            placeVideo("three.mpg", dir.file("rec_" + std::to_string(n) + ".mpg"));
        }
        ASSERT_TRUE(main.openTrace(path));
    }
    void pressVideoAt(int second) {
        main.scroll->setValue(second);
        main.pressVideoButton();
    }
    frmVideo& video() { return main.video(); }
    QString loadedName() { return QFileInfo(main.clip().FileName()).fileName(); }
    bool playing() { return main.clip().playState() == 2; }
    // Seeks the loaded video to `seconds`, as the trace would.
    void seekVideo(float seconds) {
        video().newPosition = seconds;
        video().comando(frmVideo::Seek);
    }

    TempDir dir;
    MiniMainWindow main;
};

TEST_F(VideoPlayback, PlayingPastThePageTurnsItForwardAndTheMarkerFollows) {
    main.setPageLength(1.0f);
    ASSERT_EQ(main.trace->secNumber(), 1.0f);
    pressVideoAt(1);
    const int left = main.trace->GetMaxLarghEtichette();
    video().PlayButton()->click();
    EXPECT_TRUE(playing());

    int furthest = left;
    ASSERT_TRUE(waitFor([&] {
        if (main.pos == 1) {
            furthest = std::max(furthest, main.marker->x());
        }
        return main.pos >= 2;
    }));
    EXPECT_GT(furthest, left + (main.trace->width() - left) / 2) << "the marker crossed the page";
    EXPECT_EQ(loadedName(), QStringLiteral("rec_1.mpg"));
    EXPECT_TRUE(playing()) << "a page turned by the video does not seek it";
    ASSERT_TRUE(waitFor([&] { return main.marker->x() >= left && main.marker->x() < furthest; }));
    EXPECT_FALSE(video().changePageByPositionChangeProc);
    const auto pages = main.pagesDrawn;
    EXPECT_EQ(std::count(pages.begin(), pages.end(), 2), 1);
}

TEST_F(VideoPlayback, PagingThePlayingTraceSeeksTheVideoAndPlaysOn) {
    main.setPageLength(2.0f);
    pressVideoAt(9);
    EXPECT_EQ(loadedName(), QStringLiteral("rec_3.mpg"));
    video().PlayButton()->click();
    ASSERT_TRUE(waitFor([&] { return main.clip().CurrentPosition() > 0.2; }));

    // A report the video posted just before the page change, still waiting to be handled.
    CClipdeckCtrl* clip = &main.clip();
    const double stale = clip->CurrentPosition() * 1000.0;
    QMetaObject::invokeMethod(
        clip, [clip, stale] { emit clip->PositionChange(stale); }, Qt::QueuedConnection);
    main.scroll->setValue(5);
    EXPECT_EQ(loadedName(), QStringLiteral("rec_2.mpg"));
    EXPECT_TRUE(playing());
    EXPECT_FALSE(video().changePageByPositionChangeProc);
    ASSERT_TRUE(waitFor([&] { return main.clip().CurrentPosition() > 1.1; }));
    EXPECT_LT(main.clip().CurrentPosition(), 1.9);
    EXPECT_EQ(main.pos, 5) << "the report from before the seek did not turn the page back";

    // A page without video pauses it with the stop button latched.
    main.scroll->setValue(8);
    EXPECT_EQ(main.clip().FileName(), QStringLiteral(VIEWER_BIN_DIR "/noVideo.mpg"));
    EXPECT_EQ(main.clip().playState(), 3);
    EXPECT_TRUE(video().stopLatched());
    EXPECT_FALSE(video().PlayButton()->isEnabled());
}

TEST_F(VideoPlayback, EachVideoLeadsIntoTheNextAndTheLastLatchesStop) {
    pressVideoAt(3);
    EXPECT_EQ(loadedName(), QStringLiteral("rec_1.mpg"));
    seekVideo(2.8f);
    video().PlayButton()->click();

    // File 2 starts where file 1 ends.
    ASSERT_TRUE(waitFor([&] { return main.sync.numFileVideo == 2; }));
    EXPECT_EQ(loadedName(), QStringLiteral("rec_2.mpg"));
    EXPECT_TRUE(playing());
    EXPECT_LT(main.clip().CurrentPosition(), 0.5);
    EXPECT_EQ(main.pos, 3) << "the page follows through the reports, not the file change";

    // File 3 after the gap starts at its own beginning.
    seekVideo(2.8f);
    ASSERT_TRUE(waitFor([&] { return main.sync.numFileVideo == 3; }));
    EXPECT_TRUE(playing());
    EXPECT_EQ(video().sfas, 9000);

    seekVideo(2.8f);
    ASSERT_TRUE(waitFor([&] { return video().stopLatched(); }));
    EXPECT_EQ(main.clip().playState(), 3);
    EXPECT_EQ(main.sync.numFileVideo, 3);
    EXPECT_FALSE(video().playLatched());
}

} // namespace
} // namespace viewer::testing
