// The demo recording's videos: an index that covers most of the recording with a gap, and
// files the viewer finds and plays for it.

#include "CClipdeckCtrl.h"
#include "demo_recording.h"
#include "demo_videos.h"
#include "temp_dir.h"
#include "video_helpers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace viewer::testing {
namespace {

// The duration ffprobe reads from the file, in seconds; negative when it cannot.
double probedDuration(const std::string& path) {
    const std::string command =
        "ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    double seconds = -1;
    if (std::fscanf(pipe, "%lf", &seconds) != 1) {
        seconds = -1;
    }
    pclose(pipe);
    return seconds;
}

TEST(DemoVideos, TheIndexCoversMostOfTheRecordingWithAGap) {
    const RecordingDescription d = demo::demoRecording(4);
    EXPECT_TRUE(d.videoFlag);
    EXPECT_TRUE(d.videoIndex);
    ASSERT_EQ(d.videos.size(), 2u);
    const VideoRecord& first = d.videos[0];
    const VideoRecord& second = d.videos[1];
    EXPECT_EQ(first.fileNumber, 1);
    EXPECT_EQ(second.fileNumber, 2);
    const int64_t recordingMs = d.frames * 1000 / d.rate;
    EXPECT_GE(first.startMs, 0);
    EXPECT_LT(first.startMs + first.lengthMs, second.startMs) << "a gap between the files";
    EXPECT_LE(second.startMs + second.lengthMs, recordingMs);
    EXPECT_GT(first.lengthMs + second.lengthMs, recordingMs * 9 / 10);

    const RecordingDescription older = demo::demoRecording(3);
    EXPECT_FALSE(older.videoFlag);
    EXPECT_TRUE(older.videos.empty());
}

TEST(DemoVideos, FilesAreNamedAfterTheTraceFileAndNumbered) {
    EXPECT_EQ(demo::demoVideoPath("/data/study.v2/demo.vwr", 2), "/data/study.v2/demo_2.mpg");
    EXPECT_EQ(demo::demoVideoPath("demo", 1), "demo_1.mpg");
}

TEST(DemoVideos, EachVideoIsAnMpegProgramStreamOfItsIndexLength) {
    TempDir dir;
    RecordingDescription d;
    d.recHour = 10;
    d.recMinute = 15;
    d.videos = {{1000, 2000, 1}, {4000, 1480, 2}};
    demo::writeDemoVideos(dir.file("short.vwr"), d);

    for (const VideoRecord& record : d.videos) {
        const std::string path = dir.file("short_" + std::to_string(record.fileNumber) + ".mpg");
        std::ifstream in(path, std::ios::binary);
        char head[4] = {};
        in.read(head, 4);
        EXPECT_EQ(std::string(head, 4), std::string("\0\0\1\xba", 4)) << path;
        EXPECT_NEAR(probedDuration(path), record.lengthMs / 1000.0, 0.045) << path;

        int32_t fileRate = 0;
        int32_t realRate = 0;
        EXPECT_TRUE(Module1::DetectVideoRates(QString::fromStdString(path), fileRate, realRate, 0));
        EXPECT_EQ(fileRate, realRate) << "the demo has no video delay";

        QStringList messages;
        CClipdeckCtrl clip;
        clip.setMessageReporter([&](const QString&, const QString& text) { messages << text; });
        clip.setFileName(QString::fromStdString(path));
        EXPECT_EQ(clip.playState(), 3) << messages.join(QLatin1Char('\n')).toStdString();
    }
}

TEST(DemoVideos, AVideoPlaysOnFromASeekWithoutAMessage) {
    TempDir dir;
    RecordingDescription d;
    d.videos = {{0, 20000, 1}};
    demo::writeDemoVideos(dir.file("long.vwr"), d);
    const std::string path = dir.file("long_1.mpg");

    QStringList messages;
    CClipdeckCtrl clip;
    clip.setMessageReporter([&](const QString&, const QString& text) { messages << text; });
    clip.setFileName(QString::fromStdString(path));
    clip.setCurrentPosition(5.0);
    clip.Play();
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 800) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_GT(clip.CurrentPosition(), 5.2);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QLatin1Char('\n')).toStdString();
}

} // namespace
} // namespace viewer::testing
