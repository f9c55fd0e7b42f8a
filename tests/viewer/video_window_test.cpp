// The video window against a main window side whose answers the test sets: layout, placement,
// the two buttons, comando, and the position reports that show the time, turn the page and
// move the marker.

#include "CClipdeckCtrl.h"
#include "VideoSync.h"
#include "frmVideo.h"
#include "scripted_trace_side.h"
#include "temp_dir.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <gtest/gtest.h>

#include <memory>

namespace viewer::testing {
namespace {

class VideoWindow : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           QString::fromStdString(settingsDir.path().string()));
    }

    QSettings store() const {
        return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Viewer"),
                         QStringLiteral("Viewer"));
    }
    QString stored(const char* key) const {
        return store().value(QStringLiteral("Settings/") + QLatin1String(key)).toString();
    }
    void storeSetting(const char* key, const char* value) {
        store().setValue(QStringLiteral("Settings/") + QLatin1String(key), QLatin1String(value));
    }
    // The video window with a rate pair and video start set, as a loaded video leaves them.
    frmVideo& loaded(int32_t sfas, int32_t fileRate = 1, int32_t realRate = 1) {
        frmVideo& v = sync.videoWindow();
        v.sfas = sfas;
        v.fileVideoRate = fileRate;
        v.realVideoRate = realRate;
        return v;
    }

    TempDir settingsDir;
    ScriptedTraceSide trace;
    int32_t numFileVideo = -1;
    VideoSync sync{trace, numFileVideo, QStringLiteral(VIEWER_BIN_DIR)};
};

TEST_F(VideoWindow, LoadsAsAnEmptyTopMostWindowWithItsPanelLaidOutInPixels) {
    frmVideo& v = sync.videoWindow();
    ASSERT_EQ(v.logicalDpiX(), 96) << "the expected figures assume 96 dots per inch";
    EXPECT_TRUE(v.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(v.isWindow());
    EXPECT_TRUE(v.windowTitle().isEmpty());
    EXPECT_TRUE(v.Clipdeck1()->FileName().isEmpty());
    EXPECT_EQ(v.Clipdeck1()->playState(), 0);
    EXPECT_FALSE(v.playLatched());
    EXPECT_TRUE(v.stopLatched());
    EXPECT_FALSE(v.changePageByPositionChangeProc);
    EXPECT_EQ(v.minimumSize(), QSize(200, 200)) << "3000 twips";
    EXPECT_EQ(v.TimePanel()->font().family(), QStringLiteral("Arial"));

    v.resize(400, 300);
    v.show();
    EXPECT_EQ(v.Clipdeck1()->geometry(), QRect(0, 0, 400, 245));
    EXPECT_EQ(v.ControlPanel()->geometry(), QRect(0, 245, 400, 55));
    EXPECT_EQ(v.PlayButton()->pos(), QPoint(22, 17));
    EXPECT_EQ(v.StopButton()->pos(), QPoint(82, 17));
    EXPECT_EQ(v.TimePanel()->geometry().right() + 1, 400 - 14);
    EXPECT_EQ(v.TimePanel()->y(), 12);

    v.resize(120, 80);
    EXPECT_EQ(v.size(), QSize(200, 200));
    EXPECT_EQ(v.ControlPanel()->geometry(), QRect(0, 145, 200, 55));
}

TEST_F(VideoWindow, PlacementComesFromTheSettingsInTwips) {
    frmVideo& fresh = sync.videoWindow();
    EXPECT_EQ(fresh.pos(), QPoint(67, 67)) << "1000 twips";
    EXPECT_EQ(fresh.size(), QSize(333, 333)) << "5000 twips";
    EXPECT_FALSE(fresh.isMaximized());
    sync.close();

    storeSetting("VideoLeft", "1500");
    storeSetting("VideoTop", "3000");
    storeSetting("VideoWidth", "6000");
    storeSetting("VideoHeight", "4500.4");
    storeSetting("VideoWindowState", "2");
    frmVideo& placed = sync.videoWindow();
    EXPECT_EQ(placed.normalGeometry().topLeft(), QPoint(100, 200));
    EXPECT_EQ(placed.normalGeometry().size(), QSize(400, 300));
    EXPECT_TRUE(placed.isMaximized());
}

TEST_F(VideoWindow, UnloadStoresThePlacementOfANormalWindowAndOnlyTheStateOfAMaximisedOne) {
    frmVideo& normal = sync.videoWindow();
    normal.move(90, 120);
    normal.resize(480, 360);
    normal.show();
    sync.close();
    EXPECT_EQ(stored("VideoWindowState"), QStringLiteral("0"));
    EXPECT_EQ(stored("VideoLeft"), QStringLiteral("1350"));
    EXPECT_EQ(stored("VideoTop"), QStringLiteral("1800"));
    EXPECT_EQ(stored("VideoWidth"), QStringLiteral("7200"));
    EXPECT_EQ(stored("VideoHeight"), QStringLiteral("5400"));
    EXPECT_EQ(sync.loadedVideoWindow(), nullptr);

    frmVideo& maximised = sync.videoWindow();
    maximised.move(30, 40);
    maximised.resize(250, 250);
    maximised.showMaximized();
    sync.close();
    EXPECT_EQ(stored("VideoWindowState"), QStringLiteral("2"));
    EXPECT_EQ(stored("VideoLeft"), QStringLiteral("1350"));
    EXPECT_EQ(stored("VideoWidth"), QStringLiteral("7200"));
    EXPECT_EQ(stored("VideoHeight"), QStringLiteral("5400"));

    store().setValue(QStringLiteral("Settings/VideoWindowState"), QStringLiteral("7"));
    frmVideo& minimised = sync.videoWindow();
    minimised.showMinimized();
    sync.close();
    EXPECT_EQ(stored("VideoWindowState"), QStringLiteral("7"))
        << "a minimised window stores nothing";
}

TEST_F(VideoWindow, UnloadReleasesTheVideoButtonAndRestoresTheMainWindow) {
    trace.sfasStart = -1;
    sync.open();
    EXPECT_TRUE(trace.markerVisible);
    EXPECT_EQ(trace.marker, ScriptedTraceSide::kLabelWidth);
    EXPECT_FALSE(trace.scrollingChangeEvent);
    ASSERT_NE(sync.loadedVideoWindow(), nullptr);
    EXPECT_TRUE(sync.loadedVideoWindow()->isVisible());
    sync.numFileVideo = 3;

    // Closed from its own title bar.
    sync.loadedVideoWindow()->close();
    EXPECT_TRUE(trace.videoButtonReleased);
    EXPECT_FALSE(trace.markerVisible);
    EXPECT_TRUE(trace.scrollingChangeEvent);
    EXPECT_EQ(sync.numFileVideo, -1);
    EXPECT_EQ(sync.loadedVideoWindow(), nullptr);
}

TEST_F(VideoWindow, ComandoWithoutAFileOnlyAnswers) {
    frmVideo& v = sync.videoWindow();
    EXPECT_FALSE(v.comando(frmVideo::PlayVideo));
    EXPECT_EQ(v.Clipdeck1()->playState(), 0);
    EXPECT_FALSE(v.comando(frmVideo::PauseVideo));
    EXPECT_EQ(v.Clipdeck1()->playState(), 0);
    v.newPosition = -3.5f;
    EXPECT_FALSE(v.comando(frmVideo::Seek));
    EXPECT_EQ(v.newPosition, 0.0f);
    const struct {
        int16_t state;
        bool paused, stopped, playing;
    } states[] = {{0, false, false, false},
                  {1, false, true, false},
                  {2, false, false, true},
                  {3, true, false, false},
                  {4, false, false, false}};
    for (const auto& s : states) {
        v.Clipdeck1()->setPlayState(s.state);
        EXPECT_EQ(v.comando(frmVideo::IsPaused), s.paused) << s.state;
        EXPECT_EQ(v.comando(frmVideo::IsStopped), s.stopped) << s.state;
        EXPECT_EQ(v.comando(frmVideo::IsPlaying), s.playing) << s.state;
        EXPECT_FALSE(v.comando(5));
    }
    v.Clipdeck1()->setPlayState(0);
}

TEST_F(VideoWindow, PlayAndStopLatchSoThatRepeatedPressesDoNothing) {
    frmVideo& v = sync.videoWindow();
    v.StopButton()->click();
    EXPECT_TRUE(v.stopLatched());
    EXPECT_FALSE(v.playLatched());
    v.PlayButton()->click();
    EXPECT_TRUE(v.playLatched());
    EXPECT_FALSE(v.stopLatched());
    v.PlayButton()->click();
    EXPECT_TRUE(v.playLatched());
    v.StopButton()->click();
    EXPECT_TRUE(v.stopLatched());
    EXPECT_FALSE(v.playLatched());
}

TEST_F(VideoWindow, TheTimePanelShowsTheClockOfTheVideoInstantWithItsTenth) {
    frmVideo& v = loaded(10000);
    v.UpdateBar(2.96f);
    ASSERT_FALSE(trace.timeAsked.empty());
    EXPECT_EQ(trace.timeAsked.back(), 12.0f);
    EXPECT_EQ(v.TimePanel()->text(), QStringLiteral("  10:00:12.0"));
    v.UpdateBar(2.84f);
    EXPECT_EQ(v.TimePanel()->text(), QStringLiteral("  10:00:12.8"));
    // The time panel ignores the rate correction; the page position does not.
    v.fileVideoRate = 40100;
    v.realVideoRate = 40000;
    v.sfas = 0;
    trace.pos = 395;
    v.UpdateBar(401.0f);
    EXPECT_EQ(v.TimePanel()->text(), QStringLiteral("  10:06:41.0"));
    EXPECT_EQ(trace.pixelAsked.back(), 5000) << "401 s of video are trace second 400";
}

TEST_F(VideoWindow, AReportPastThePageTurnsItForwardOnceAndTheMarkerKeepsTheOldOffset) {
    frmVideo& v = loaded(2000);
    trace.pos = 20;
    trace.page = 10;
    bool flagDuringTurn = false;
    trace.onPageSet = [&] { flagDuringTurn = v.changePageByPositionChangeProc; };

    v.UpdateBar(25.5f); // trace second 27.5: on the page
    EXPECT_TRUE(trace.pagesSet.empty());
    EXPECT_EQ(trace.pixelAsked.back(), 7500);
    EXPECT_EQ(trace.marker, ScriptedTraceSide::kLabelWidth + 750);

    v.UpdateBar(58.0f); // trace second 60: three pages ahead, one turn per report
    ASSERT_EQ(trace.pagesSet.size(), 1u);
    EXPECT_EQ(trace.pagesSet[0], 30);
    EXPECT_TRUE(flagDuringTurn);
    EXPECT_FALSE(v.changePageByPositionChangeProc);
    EXPECT_EQ(trace.pixelAsked.back(), 40000);
    EXPECT_EQ(trace.marker, -1);

    // Turning forward does not need the video to be playing, and stops at the scroll bar's max.
    trace.max = 35;
    v.UpdateBar(58.0f);
    EXPECT_EQ(trace.pagesSet.back(), 35);
    trace.page = 2.5f; // 35 + 2.5 rounds to the even 38 (max 40)
    trace.max = 40;
    v.UpdateBar(58.0f);
    EXPECT_EQ(trace.pagesSet.back(), 38);
    // Nothing happens before any rate is set.
    v.fileVideoRate = 0;
    v.UpdateBar(100.0f);
    EXPECT_EQ(trace.pagesSet.size(), 3u);
}

TEST_F(VideoWindow, AReportBeforeThePageTurnsItBackOnlyWhilePlayingAndNeverBelowZero) {
    frmVideo& v = loaded(0);
    trace.pos = 12;
    trace.page = 10;
    v.UpdateBar(5.0f);
    EXPECT_TRUE(trace.pagesSet.empty()) << "not playing";
    EXPECT_EQ(trace.marker, -1);

    v.Clipdeck1()->setPlayState(2);
    v.UpdateBar(5.0f);
    ASSERT_EQ(trace.pagesSet.size(), 1u);
    EXPECT_EQ(trace.pagesSet[0], 2);
    v.UpdateBar(1.0f);
    EXPECT_EQ(trace.pagesSet.back(), 0);
    v.UpdateBar(-1.0f);
    EXPECT_EQ(trace.pagesSet.size(), 2u) << "the page at second 0 stays";
    v.Clipdeck1()->setPlayState(0);
}

TEST_F(VideoWindow, ReportsArrivingWhileOneIsHandledOrTheVideoIsChangingAreDropped) {
    frmVideo& v = loaded(0);
    trace.pos = 0;
    trace.page = 10;
    trace.onPageSet = [&] { emit v.Clipdeck1()->PositionChange(45000.0); };
    emit v.Clipdeck1()->PositionChange(15000.0);
    ASSERT_EQ(trace.pagesSet.size(), 1u) << "the report raised by the page turn is dropped";
    EXPECT_EQ(trace.pagesSet[0], 10);
    trace.onPageSet = nullptr;

    {
        const frmVideo::ReportHold hold(v);
        emit v.Clipdeck1()->PositionChange(35000.0);
        EXPECT_EQ(trace.pagesSet.size(), 1u);
    }
    emit v.Clipdeck1()->PositionChange(35000.0);
    EXPECT_EQ(trace.pagesSet.size(), 2u);
    EXPECT_EQ(trace.pagesSet.back(), 20);
}

TEST_F(VideoWindow, TheEndOfTheLastVideoLatchesStop) {
    frmVideo& v = sync.videoWindow();
    v.PlayButton()->click();
    sync.numFileVideo = 4;
    trace.nextStart = -1;
    emit v.Clipdeck1()->Complete();
    ASSERT_EQ(trace.nextAsked.size(), 1u);
    EXPECT_EQ(trace.nextAsked[0], 4);
    EXPECT_TRUE(v.stopLatched());
    EXPECT_FALSE(v.playLatched());
}

} // namespace
} // namespace viewer::testing
