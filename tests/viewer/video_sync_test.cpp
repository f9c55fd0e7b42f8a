// Opening the video window on recordings written for the test, with fixture videos next to
// them: which file is loaded, where it is positioned, the placeholder, and what changes when
// another recording is opened.

#include "mini_main_window.h"
#include "temp_dir.h"
#include "video_files.h"

#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

#include <string>

namespace viewer::testing {
namespace {

// Three videos of 3 s: file 1 from second 1, file 2 from second 4 (where file 1 ends),
// file 3 from second 9 after a gap.
std::vector<VideoRecord> threeVideos() {
    return {{1000, 3000, 1}, {4000, 3000, 2}, {9000, 3000, 3}};
}

class VideoSyncTest : public ::testing::Test {
protected:
    // Writes the recording `name` ("rec.vwr") and places "<stem>_<n>.mpg" for `numbers`.
    std::string recording(const RecordingDescription& d, const std::string& name,
                          std::initializer_list<int> numbers) {
        std::string path = dir.file(name);
        writeRecording(path, d);
        const std::string stem = path.substr(0, path.size() - 4);
        for (int n : numbers) {
            placeVideo("three.mpg", stem + "_" + std::to_string(n) + ".mpg");
        }
        return path;
    }
    std::string threeVideoRecording() {
        return recording(videoRecording(threeVideos()), "rec.vwr", {1, 2, 3});
    }
    void openAt(const std::string& path, int second) {
        ASSERT_TRUE(main.openTrace(path));
        main.scroll->setValue(second);
        ASSERT_EQ(main.pos, second);
    }
    bool buttonsEnabled() {
        return main.video().PlayButton()->isEnabled() && main.video().StopButton()->isEnabled();
    }
    bool buttonsDisabled() {
        return !main.video().PlayButton()->isEnabled() && !main.video().StopButton()->isEnabled();
    }
    QString loadedName() { return QFileInfo(main.clip().FileName()).fileName(); }

    TempDir dir;
    MiniMainWindow main;
};

TEST_F(VideoSyncTest, PressingVideoLoadsTheCoveringFileAtTheMatchingInstant) {
    openAt(threeVideoRecording(), 5);
    main.pressVideoButton();
    EXPECT_EQ(loadedName(), QStringLiteral("rec_2.mpg"));
    EXPECT_EQ(main.sync.numFileVideo, 2);
    EXPECT_EQ(main.clip().playState(), 3);
    EXPECT_NEAR(main.clip().CurrentPosition(), 1.0, 1e-6);
    EXPECT_EQ(main.video().sfas, 4000);
    EXPECT_EQ(main.video().fileVideoRate, 90000);
    EXPECT_EQ(main.video().realVideoRate, 90000);
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_TRUE(main.video().isVisible());
    EXPECT_TRUE(main.messages.isEmpty()) << main.messages.join(QLatin1Char('\n')).toStdString();

    EXPECT_TRUE(main.marker->isVisible());
    EXPECT_EQ(main.marker->geometry(),
              QRect(main.trace->GetMaxLarghEtichette(), 0, 1, main.trace->height()));
    EXPECT_FALSE(main.scroll->scrollingChangeEvent());

    // The seek's report shows the time and puts the marker at the page start.
    ASSERT_TRUE(waitFor([&] { return !main.video().TimePanel()->text().isEmpty(); }));
    EXPECT_EQ(main.video().TimePanel()->text(), QStringLiteral("  10:00:05.0"));
    EXPECT_EQ(main.marker->x(), main.trace->GetPixelPosition(0));
}

TEST_F(VideoSyncTest, AtTheSharedBoundaryTheEarlierFileWins) {
    openAt(threeVideoRecording(), 4);
    main.pressVideoButton();
    EXPECT_EQ(loadedName(), QStringLiteral("rec_1.mpg"));
    EXPECT_NEAR(main.clip().CurrentPosition(), 3.0, 1e-6);
}

TEST_F(VideoSyncTest, AGapShowsThePlaceholderOnlyWhenAVideoWasLoaded) {
    openAt(threeVideoRecording(), 8);
    main.pressVideoButton();
    EXPECT_TRUE(main.clip().FileName().isEmpty()) << "nothing loaded yet: the control stays empty";
    EXPECT_EQ(main.clip().playState(), 0);
    EXPECT_TRUE(buttonsDisabled());
    EXPECT_EQ(main.sync.numFileVideo, -1);

    main.scroll->setValue(2);
    EXPECT_EQ(loadedName(), QStringLiteral("rec_1.mpg"));
    EXPECT_TRUE(buttonsEnabled());
    main.scroll->setValue(8);
    EXPECT_EQ(main.clip().FileName(), QStringLiteral(VIEWER_BIN_DIR "/noVideo.mpg"));
    EXPECT_EQ(main.clip().playState(), 3) << "the placeholder opens";
    EXPECT_TRUE(buttonsDisabled());
    EXPECT_EQ(main.sync.numFileVideo, -1);
    EXPECT_TRUE(main.messages.isEmpty()) << main.messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(VideoSyncTest, APositionBeforeTheFirstVideoShowsItsFirstFrame) {
    openAt(recording(videoRecording({{3000, 3000, 1}}), "late.vwr", {1}), 1);
    main.pressVideoButton();
    EXPECT_EQ(loadedName(), QStringLiteral("late_1.mpg"));
    EXPECT_EQ(main.video().newPosition, 0.0f);
    EXPECT_NEAR(main.clip().CurrentPosition(), 0.0, 1e-6);
}

TEST_F(VideoSyncTest, TheMpegDelayStretchesTheVideoTime) {
    RecordingDescription d = videoRecording(threeVideos());
    d.videoDelay = 90;
    openAt(recording(d, "rec.vwr", {1, 2, 3}), 6);
    main.pressVideoButton();
    EXPECT_EQ(main.video().fileVideoRate, 90090);
    EXPECT_EQ(main.video().realVideoRate, 90000);
    EXPECT_NEAR(main.clip().CurrentPosition(), 2.002, 1e-5);
}

TEST_F(VideoSyncTest, AnAviDeclaringAnOddFrameDurationIsSnappedToItsNominalRate) {
    const std::string path = dir.file("avi.vwr");
    writeRecording(path, videoRecording({{0, 8020, 7}}));
    placeVideo("eight.avi", dir.file("avi_7.avi"));
    placeVideo("three.mpg", dir.file("avi_7.mpg"));
    openAt(path, 4);
    main.pressVideoButton();
    EXPECT_EQ(loadedName(), QStringLiteral("avi_7.avi")) << "avi comes before mpg";
    EXPECT_EQ(main.video().fileVideoRate, 40100);
    EXPECT_EQ(main.video().realVideoRate, 40000);
    EXPECT_NEAR(main.clip().CurrentPosition(), 4.01, 1e-5);
}

TEST_F(VideoSyncTest, TheSingleOlderVideoIsNamedAfterTheTraceFile) {
    RecordingDescription d = videoRecording({});
    d.videoStart = 2000;
    const std::string path = dir.file("old.vwr");
    writeRecording(path, d);
    placeVideo("three.mpg", dir.file("old.mpg"));
    placeVideo("three.mpg", dir.file("old_1.avi"));
    openAt(path, 3);
    main.pressVideoButton();
    EXPECT_EQ(loadedName(), QStringLiteral("old.mpg"));
    EXPECT_EQ(main.sync.numFileVideo, -2);
    EXPECT_NEAR(main.clip().CurrentPosition(), 1.0, 1e-6);
}

TEST_F(VideoSyncTest, AVideoFoundOnlyByTheCaseOfItsNamePlays) {
    const std::string path = dir.file("patient.vwr");
    writeRecording(path, videoRecording(threeVideos()));
    placeVideo("three.mpg", dir.file("PATIENT_2.MPG"));
    openAt(path, 5);
    main.pressVideoButton();
    EXPECT_EQ(loadedName(), QStringLiteral("PATIENT_2.MPG"));
    EXPECT_EQ(main.clip().playState(), 3);
    EXPECT_EQ(main.video().fileVideoRate, 90000);
}

TEST_F(VideoSyncTest, AnotherRecordingNeverShowsThePreviousPatientsVideo) {
    openAt(threeVideoRecording(), 2);
    main.pressVideoButton();
    EXPECT_EQ(loadedName(), QStringLiteral("rec_1.mpg"));

    // The same file number covers second 0 of the next recording: its own file is loaded.
    ASSERT_TRUE(main.openTrace(recording(videoRecording({{0, 3000, 1}}), "next.vwr", {1})));
    EXPECT_EQ(loadedName(), QStringLiteral("next_1.mpg"));
    EXPECT_EQ(main.sync.numFileVideo, 1);

    // A recording without a video index: nothing of the previous one stays on screen.
    const std::string bare = dir.file("bare.vwr");
    writeRecording(bare, videoRecording({}));
    ASSERT_TRUE(main.openTrace(bare));
    EXPECT_TRUE(main.clip().FileName().isEmpty());
    EXPECT_EQ(main.clip().playState(), 0);
    EXPECT_TRUE(buttonsDisabled());
    EXPECT_EQ(main.sync.numFileVideo, -1);
}

TEST_F(VideoSyncTest, AMissingFileLeavesTheWindowOpenAndIsNotTriedAgain) {
    openAt(recording(videoRecording(threeVideos()), "rec.vwr", {1, 3}), 2);
    main.pressVideoButton();
    ASSERT_EQ(loadedName(), QStringLiteral("rec_1.mpg"));
    const int pagesBefore = static_cast<int>(main.pagesDrawn.size());
    // A modal message lets events run while the video is being changed: a report that comes
    // in then belongs to neither video and is dropped.
    main.clip().setMessageReporter([&](const QString&, const QString& text) {
        main.messages << text;
        emit main.clip().PositionChange(20000.0);
    });
    main.scroll->setValue(5);
    EXPECT_EQ(loadedName(), QStringLiteral("rec.mpe"));
    EXPECT_EQ(main.clip().playState(), 0);
    ASSERT_EQ(main.messages.size(), 1);
    EXPECT_EQ(main.sync.numFileVideo, 2);
    EXPECT_EQ(main.video().fileVideoRate, 1);
    EXPECT_EQ(static_cast<int>(main.pagesDrawn.size()), pagesBefore + 1)
        << "only the page change asked for";
    EXPECT_EQ(main.pos, 5);

    main.scroll->setValue(6);
    EXPECT_EQ(main.messages.size(), 1) << "the same number is not loaded again";
    EXPECT_TRUE(main.video().isVisible());
    main.scroll->setValue(2);
    EXPECT_EQ(loadedName(), QStringLiteral("rec_1.mpg")) << "another number is";
    EXPECT_EQ(main.clip().playState(), 3);
}

TEST_F(VideoSyncTest, ReleasingTheVideoButtonUnloadsTheWindow) {
    openAt(threeVideoRecording(), 2);
    main.pressVideoButton();
    QPointer<CClipdeckCtrl> clip = &main.clip();
    main.releaseVideoButton(true);
    EXPECT_TRUE(clip.isNull()) << "the video control goes with its window";
    EXPECT_EQ(main.sync.loadedVideoWindow(), nullptr);
    EXPECT_EQ(main.sync.numFileVideo, -1);
    EXPECT_FALSE(main.marker->isVisible());
    EXPECT_TRUE(main.scroll->scrollingChangeEvent());

    // Opening again starts afresh.
    main.pressVideoButton();
    EXPECT_EQ(loadedName(), QStringLiteral("rec_1.mpg"));
    EXPECT_TRUE(main.video().stopLatched());
}

} // namespace
} // namespace viewer::testing
