// The video side: the rate pair and the file chosen for a video number, and the video window in
// the main window on real files.

#include "CClipdeckCtrl.h"
#include "MainWindowVideo.h"
#include "frmVideo.h"
#include "video_helpers.h"
#include "video_path.h"
#include "viewer_fixture.h"

#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <fstream>

namespace viewer::testing {
namespace {

std::string le32(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    return {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
}
// The head of a RIFF file of form `form` declaring `microSecPerFrame`, padded to `size` bytes.
std::string riff(const char* form, int32_t microSecPerFrame, size_t size = 64) {
    std::string head = "RIFF" + le32(1000) + form + "LIST" + le32(200) + "hdrlavih" + le32(56);
    head += le32(microSecPerFrame);
    head.resize(size, '\0');
    return head;
}

TEST(VideoHelpers, RatesOfVideoFilesAndClockTexts) {
    TempDir dir;
    const struct {
        const char* name;
        std::string bytes; // "-" for no file
        int16_t delay;
        bool answer;
        int32_t fileRate, realRate;
    } cases[] = {{"v.mpg", "0", 90, true, 90090, 90000},
                 {"V.MPG", "0", -100, true, 89900, 90000},
                 {".mpg", "0", 0, true, 90000, 90000},
                 {"none.mpg", "-", 90, false, 1, 1},
                 {"lower.bin", riff("avi ", 40100), 0, true, 40100, 40000},
                 {"b.avi", riff("AVI ", 40630), 0, true, 40630, 40630},
                 {"d.avi", riff("AVI ", 82499), 0, true, 82499, 80000},
                 {"f.avi", riff("AVI ", 212765), 0, true, 212765, 200000},
                 {"h.avi", riff("AVI ", 1199999), 0, true, 1199999, 1000000},
                 {"i.avi", riff("AVI ", 1200000), 0, true, 1200000, 1200000},
                 {"fifty.avi", riff("AVI ", 33367, 50), 0, true, 33367, 33367},
                 {"short.avi", riff("AVI ", 40000, 49), 0, false, 1, 1},
                 {"zero.avi", riff("AVI ", 0), 0, false, 1, 1},
                 {"negative.avi", riff("AVI ", -40000), 0, false, 1, 1},
                 {"wave.avi", riff("WAVE", 40000), 0, false, 1, 1}};
    for (const auto& c : cases) {
        const QString path = QString::fromStdString(dir.file(c.name));
        if (c.bytes != "-") {
            std::ofstream(dir.file(c.name), std::ios::binary) << c.bytes;
        }
        int32_t fileRate = -7;
        int32_t realRate = -7;
        EXPECT_EQ(Module1::DetectVideoRates(path, fileRate, realRate, c.delay), c.answer) << c.name;
        EXPECT_EQ(fileRate, c.fileRate) << c.name;
        EXPECT_EQ(realRate, c.realRate) << c.name;
    }
    EXPECT_FALSE(Module1::FileExists(QString::fromStdString(dir.path().string())));

    const std::pair<int32_t, const char*> clock[] = {{0, "00:00:00"},
                                                     {36902, "10:15:02"},
                                                     {86399, "23:59:59"},
                                                     {90000, "01:00:00"},
                                                     {-1, "23:59:59"}};
    for (const auto& [seconds, text] : clock) {
        EXPECT_EQ(Module1::FormatHhMmSs(seconds), text);
    }
    using videotime::wholeNumber;
    EXPECT_EQ(
        (std::vector{wholeNumber(2.5), wholeNumber(3.5), wholeNumber(1e12), wholeNumber(NAN)}),
        (std::vector{2, 4, INT32_MAX, 0}));
}

TEST(VideoPath, TheFileLoadedForAVideoNumber) {
    TempDir dir;
    for (const char* name :
         {"rec_2.wmv",    "rec_2.mpg",  "rec_5.mpg", "rec_5.avi",  "rec.avi",    "rec_3.mpe",
          "rec_4.mts",    "rec_10.asf", "old.mts",   "old.wmv",    "old_1.avi",  "d.2024/p_1.mpg",
          "d.2024/p.avi", "CASE_1.MPG", "Case.Avi",  "case_2.MPG", "case_2.wmv", "dot/_1.mpg",
          "dot/.wmv",     "old_-2.avi", "rec_9.",    "rec_9.mpe"}) {
        std::filesystem::create_directories((dir.path() / name).parent_path());
        std::ofstream(dir.file(name)) << "video";
    }
    // Trace, number, the file chosen in the folder (or absolute).
    const char* cases[] = {
        "rec.vwr 2 rec_2.mpg", "rec.vwr 5 rec_5.avi", "rec.vwr 3 rec_3.mpe", "rec.vwr 4 rec_4.mts",
        "rec.vwr 10 rec_10.asf", "rec.vwr 1 rec.avi", "rec.vwr 0 rec.avi", "none.vwr 1 none.mpe",
        "old.vwr -2 old.wmv", "rec.vwr 9 rec_9.mpe", "none.vwr -2 none.mpe",
        "rec.vwr -1 /opt/viewer/noVideo.mpg",
        // The extension comes from the file name, never from a folder.
        "d.2024/p.vwr 1 d.2024/p_1.mpg", "d.2024/p 1 d.2024/p_1.mpg", "d.2024/p -2 d.2024/p.avi",
        "d.2024/p.x.vwr 1 d.2024/p.x.mpe",
        // A name whose only dot is its first character: all of it is the extension.
        "dot/.vwr 1 dot/_1.mpg", "dot/.vwr -2 dot/.wmv",
        // Names differing only in case are found; the extension order holds.
        "case.vwr 1 CASE_1.MPG", "case.vwr -2 Case.Avi", "case.vwr 2 case_2.MPG",
        "case.vwr 3 Case.Avi"};
    for (const char* c : cases) {
        const QStringList f = QString(c).split(' ');
        const QString in = QString::fromStdString(dir.path().string()) + '/';
        EXPECT_EQ(VideoPath::choose(in + f[0], f[1].toInt(), "/opt/viewer"),
                  f[2].startsWith('/') ? f[2] : in + f[2])
            << c;
    }
    EXPECT_EQ(VideoPath::choose({}, -1, "/opt/viewer"), "/opt/viewer/noVideo.mpg");
    EXPECT_EQ(VideoPath::choose({}, 1, "/opt/viewer"), QString());
}

// The main window on a 30-second recording from 10:00:00 with three videos of 3 s: file 1 from
// second 1, file 2 from second 4 (where file 1 ends), file 3 from second 9 after a gap.
class VideoInMainWindow : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        start();
        auto link = std::make_unique<MainWindowVideo>(window());
        link_ = link.get();
        window().setVideoLink(std::move(link));
        window().resize(900, 500);
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
        openWith("rec", {{1000, 3000, 1}, {4000, 3000, 2}, {9000, 3000, 3}}, {1, 2, 3});
    }
    void openWith(const std::string& stem, std::vector<VideoRecord> videos,
                  std::vector<int> files) {
        const QString path = write(stem + ".vwr", videoRecording(std::move(videos)));
        for (int n : files) {
            placeVideo(recordings.file(stem + "_" + std::to_string(n) + ".mpg"));
        }
        window().OpenTrace(path);
    }
    frmVideo& video() { return link_->sync().videoWindow(); }
    CClipdeckCtrl& clip() { return *video().Clipdeck1(); }
    QString loaded() { return QFileInfo(clip().FileName()).fileName(); }
    void pressVideoAt(int second) {
        scroll().setValue(second);
        clip().setMessageReporter([this](const QString&, const QString& t) { messages << t; });
        click("video");
    }
    bool buttonsEnabled() { return video().PlayButton()->isEnabled(); }
    QWidget& marker() { return *window().pctSync(); }

    MainWindowVideo* link_ = nullptr;
    QStringList messages;
};

TEST_F(VideoInMainWindow, TheVideoButtonLoadsTheFileCoveringThePageAtItsInstant) {
    pressVideoAt(8); // a gap before any video was loaded: the control stays empty
    EXPECT_TRUE(clip().FileName().isEmpty());
    EXPECT_FALSE(buttonsEnabled());
    scroll().setValue(5);
    EXPECT_EQ(loaded(), "rec_2.mpg");
    EXPECT_NEAR(clip().CurrentPosition(), 1.0, 1e-6);
    EXPECT_EQ(window().numFileVideo, 2);
    EXPECT_EQ(video().fileVideoRate, 90000);
    EXPECT_TRUE(buttonsEnabled());
    EXPECT_EQ(marker().geometry(), QRect(trace().GetMaxLarghEtichette(), 0, 1, trace().height()));
    EXPECT_FALSE(scroll().scrollingChangeEvent()) << "changes only when a drag ends";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !video().TimePanel()->text().isEmpty(); }));
    EXPECT_EQ(video().TimePanel()->text(), "  10:00:05.0");
    window().resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(marker().height(), trace().height());

    scroll().setValue(4); // the shared boundary: the earlier file
    EXPECT_EQ(loaded(), "rec_1.mpg");
    EXPECT_NEAR(clip().CurrentPosition(), 3.0, 1e-6);
    scroll().setValue(8); // a gap after a video: the placeholder, paused
    EXPECT_EQ(clip().FileName(), VIEWER_BIN_DIR "/noVideo.mpg");
    EXPECT_EQ(clip().playState(), 3);
    EXPECT_FALSE(buttonsEnabled());
    EXPECT_EQ(window().numFileVideo, -1);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();

    QPointer<frmVideo> shown = &video();
    click("video");
    EXPECT_TRUE(shown.isNull());
    EXPECT_FALSE(marker().isVisible());
    EXPECT_TRUE(scroll().scrollingChangeEvent());
    EXPECT_EQ(setting("VideoWindowState"), "0");
}

TEST_F(VideoInMainWindow, ReportsShowTheClockAndTurnThePageOnceWithoutSeeking) {
    pressVideoAt(0); // before the first video: its first frame
    EXPECT_EQ(loaded(), "rec_1.mpg");
    EXPECT_EQ(video().newPosition, 0.0f);
    video().UpdateBar(2.84f); // trace second 3.84
    EXPECT_EQ(video().TimePanel()->text(), "  10:00:03.8");
    EXPECT_EQ(marker().x(), trace().GetPixelPosition(3840));
    // The page turn's own report, arriving while this one is handled, is dropped.
    QObject::connect(
        &scroll(), &MyScrollBar::change, &clip(), [this] { emit clip().PositionChange(20000.0); },
        Qt::SingleShotConnection);
    emit clip().PositionChange(25000.0); // trace second 26: one page forward per report
    EXPECT_EQ(window().posSec(), 10);
    EXPECT_EQ(loaded(), "rec_1.mpg") << "a page turned by the video does not seek it";
    EXPECT_FALSE(video().changePageByPositionChangeProc);
    video().UpdateBar(2.0f); // before the page: back only while playing
    EXPECT_EQ(window().posSec(), 10);
}

TEST_F(VideoInMainWindow, AnotherRecordingOrAMissingFileNeverShowsAnotherVideo) {
    pressVideoAt(2);
    EXPECT_EQ(loaded(), "rec_1.mpg");
    openWith("next", {{0, 3000, 1}}, {1}); // the same number: its own file
    EXPECT_EQ(loaded(), "next_1.mpg");
    EXPECT_NEAR(clip().CurrentPosition(), 0.0, 1e-6);
    openWith("bare", {}, {});
    EXPECT_TRUE(clip().FileName().isEmpty());
    EXPECT_EQ(window().numFileVideo, -1);

    openWith("miss", {{1000, 3000, 1}, {4000, 3000, 2}}, {1});
    scroll().setValue(2);
    // A modal message lets events run while the video changes: a report then is dropped.
    clip().setMessageReporter([this](const QString&, const QString& text) {
        messages << text;
        emit clip().PositionChange(20000.0);
    });
    scroll().setValue(5);
    EXPECT_EQ(loaded(), "miss.mpe");
    EXPECT_EQ(clip().playState(), 0);
    EXPECT_EQ(window().posSec(), 5);
    scroll().setValue(6);
    EXPECT_EQ(messages.size(), 1) << "the same number is not loaded again";
    scroll().setValue(2);
    EXPECT_EQ(loaded(), "miss_1.mpg");
}

TEST_F(VideoInMainWindow, ClosingEitherWindow) {
    pressVideoAt(2);
    video().close();
    EXPECT_FALSE(button("video").isChecked());
    EXPECT_EQ(window().numFileVideo, -1);
    scroll().setValue(5);
    EXPECT_EQ(link_->sync().loadedVideoWindow(), nullptr) << "no video step while it is up";
    pressVideoAt(5);
    QPointer<frmVideo> shown = &video();
    shown->move(150, 90);
    window().close();
    EXPECT_EQ(setting("VideoLeft"), "2250");
    EXPECT_EQ(setting("VideoTop"), "1350");
    closeWindow();
    EXPECT_TRUE(shown.isNull());
}

TEST_F(VideoInMainWindow, PlayingTurnsPagesLeadsIntoTheNextFileAndPagingSeeksIt) {
    window().ImpostaComboBaseTime(1);
    pressVideoAt(1);
    video().PlayButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window().posSec() >= 2; }));
    EXPECT_EQ(loaded(), "rec_1.mpg");
    EXPECT_TRUE(window().lblTime()->text().contains("10:00:02"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return marker().x() > trace().GetMaxLarghEtichette(); }));

    video().newPosition = 2.8f; // file 2 starts where file 1 ends
    video().comando(frmVideo::Seek);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window().numFileVideo == 2; }));
    EXPECT_EQ(loaded(), "rec_2.mpg");
    EXPECT_LT(clip().CurrentPosition(), 0.5);

    window().ImpostaComboBaseTime(7);
    scroll().setValue(2);
    click("avanti"); // paging the playing trace seeks the video, which plays on
    EXPECT_EQ(window().posSec(), 9);
    EXPECT_EQ(loaded(), "rec_3.mpg");
    EXPECT_EQ(clip().playState(), 2);
    video().newPosition = 2.8f;
    video().comando(frmVideo::Seek);
    ASSERT_TRUE(QTest::qWaitFor([&] { return video().stopLatched(); })) << "the last video ends";
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

} // namespace
} // namespace viewer::testing
