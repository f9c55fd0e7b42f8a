// The video window in the program's main window: the "video" button, the marker over the
// traces, the scroll bar's reporting, page turns both ways, and the window's placement.

#include "CClipdeckCtrl.h"
#include "MainWindowVideo.h"
#include "frmVideo.h"
#include "mini_main_window.h"
#include "program_fixture.h"
#include "video_files.h"

#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace viewer::testing {
namespace {

class MainWindowVideoTest : public ProgramTest {
protected:
    // The main window on a 30-second recording starting at 10:00:00 with three videos of 3 s:
    // file 1 from second 1, file 2 from second 4, file 3 from second 9; the video control's
    // messages recorded.
    void SetUp() override {
        ProgramTest::SetUp();
        start();
        const QString path =
            write("rec.vwr", videoRecording({{1000, 3000, 1}, {4000, 3000, 2}, {9000, 3000, 3}}));
        for (int n = 1; n <= 3; ++n) {
            placeVideo("three.mpg", recordings.file("rec_" + std::to_string(n) + ".mpg"));
        }
        auto link = std::make_unique<MainWindowVideo>(window());
        video_ = link.get();
        window().setVideoLink(std::move(link));
        window().OpenTrace(path);
        window().resize(900, 500);
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    }

    // The video window, loaded, with its messages recorded.
    frmVideo& video() {
        frmVideo& v = video_->sync().videoWindow();
        v.Clipdeck1()->setMessageReporter(
            [this](const QString&, const QString& text) { messages << text; });
        return v;
    }
    CClipdeckCtrl& clip() { return *video().Clipdeck1(); }
    QString loadedName() { return QFileInfo(clip().FileName()).fileName(); }
    void pressVideoAt(int second) {
        scroll().setValue(second);
        video();
        click("video");
        ASSERT_TRUE(button("video").isChecked());
    }
    QWidget& marker() { return *window().pctSync(); }

    MainWindowVideo* video_ = nullptr;
    QStringList messages;
};

TEST_F(MainWindowVideoTest, TheVideoButtonOpensTheVideoAtThePageAndClosesIt) {
    pressVideoAt(5);
    QPointer<frmVideo> shown = &video();
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->parentWidget(), &window());
    EXPECT_EQ(loadedName(), QStringLiteral("rec_2.mpg"));
    EXPECT_NEAR(clip().CurrentPosition(), 1.0, 1e-6);
    EXPECT_EQ(window().numFileVideo, 2);
    EXPECT_TRUE(marker().isVisible());
    EXPECT_EQ(marker().geometry(), QRect(trace().GetMaxLarghEtichette(), 0, 1, trace().height()));
    EXPECT_FALSE(scroll().scrollingChangeEvent()) << "changes only when a drag ends";
    ASSERT_TRUE(waitFor([&] { return !shown->TimePanel()->text().isEmpty(); }));
    EXPECT_EQ(shown->TimePanel()->text(), QStringLiteral("  10:00:05.0"));

    // The marker follows the trace control's height.
    window().resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(marker().height(), trace().height());

    click("video");
    EXPECT_TRUE(shown.isNull());
    EXPECT_FALSE(marker().isVisible());
    EXPECT_TRUE(scroll().scrollingChangeEvent());
    EXPECT_EQ(window().numFileVideo, -1);
    EXPECT_EQ(setting("VideoWindowState").toString(), QStringLiteral("0"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(MainWindowVideoTest, ClosingTheVideoWindowReleasesTheVideoButton) {
    pressVideoAt(2);
    video().close();
    EXPECT_FALSE(button("video").isChecked());
    EXPECT_FALSE(marker().isVisible());
    EXPECT_TRUE(scroll().scrollingChangeEvent());
    EXPECT_EQ(window().numFileVideo, -1);

    scroll().setValue(5);
    EXPECT_EQ(video_->sync().loadedVideoWindow(), nullptr)
        << "no video step while the button is up";
    pressVideoAt(5);
    EXPECT_EQ(loadedName(), QStringLiteral("rec_2.mpg"));
}

TEST_F(MainWindowVideoTest, ClosingTheMainWindowClosesTheVideoWindowWithItsSettings) {
    pressVideoAt(2);
    QPointer<frmVideo> shown = &video();
    shown->move(150, 90);
    window().close();
    EXPECT_EQ(setting("VideoLeft").toString(), QStringLiteral("2250"));
    EXPECT_EQ(setting("VideoTop").toString(), QStringLiteral("1350"));
    closeWindow();
    EXPECT_TRUE(shown.isNull());
}

TEST_F(MainWindowVideoTest, PlayingTurnsTheMainWindowsPagesAndPagingSeeksTheVideo) {
    window().ImpostaComboBaseTime(1);
    ASSERT_EQ(trace().secNumber(), 1.0f);
    pressVideoAt(1);
    video().PlayButton()->click();
    ASSERT_TRUE(waitFor([&] { return window().posSec() >= 2; }));
    EXPECT_EQ(loadedName(), QStringLiteral("rec_1.mpg"));
    EXPECT_TRUE(window().lblTime()->text().contains(QStringLiteral("10:00:02")));
    ASSERT_TRUE(waitFor([&] { return marker().x() > trace().GetMaxLarghEtichette(); }));

    // The next-page button while playing: the video is seeked there and plays on.
    window().ImpostaComboBaseTime(7);
    click("avanti");
    EXPECT_GE(window().posSec(), 9);
    EXPECT_EQ(loadedName(), QStringLiteral("rec_3.mpg"));
    EXPECT_EQ(clip().playState(), 2);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

TEST_F(MainWindowVideoTest, OpeningAnotherRecordingLoadsItsOwnVideo) {
    pressVideoAt(2);
    ASSERT_EQ(loadedName(), QStringLiteral("rec_1.mpg"));
    const QString next = write("next.vwr", videoRecording({{0, 3000, 1}}));
    placeVideo("three.mpg", recordings.file("next_1.mpg"));
    window().OpenTrace(next);
    EXPECT_EQ(loadedName(), QStringLiteral("next_1.mpg"));
    EXPECT_EQ(window().numFileVideo, 1);
    EXPECT_NEAR(clip().CurrentPosition(), 0.0, 1e-6);
}

} // namespace
} // namespace viewer::testing
