// clipcall runs scripted calls against a video control and reports results, events and
// messages as JSON, one object per call.

#include "clip_harness.h"
#include "temp_dir.h"
#include "video_fixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>

using namespace viewer::testing;

namespace {

std::vector<QJsonObject> runClipcall(const TempDir& dir, const QStringList& calls) {
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    process.start(QStringLiteral(VIEWER_BIN_DIR "/clipcall"), calls);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    std::vector<QJsonObject> lines;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (!line.trimmed().isEmpty()) {
            lines.push_back(QJsonDocument::fromJson(line).object());
        }
    }
    return lines;
}

int frameInPng(const TempDir& dir, const char* name) {
    const QImage image(QString::fromStdString(dir.file(name)));
    if (image.size() != QSize(320, 240)) {
        return -2;
    }
    return readFrameNumber(image, QRectF(0, 30, 320, 180));
}

} // namespace

TEST(Clipcall, ShowsFramesStepsAndPlays) {
    TempDir dir;
    std::filesystem::copy_file(fixtureVideo("clip.mpg"), dir.file("clip.mpg"));
    const auto lines = runClipcall(dir, {"FileName(\"clip.mpg\")", "@frame(\"f0.png\")",
                                         "SetRelativeFramePosition(25)", "@frame(\"f25.png\")",
                                         "Play()", "@wait(1000)"});
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0]["call"].toString(), "FileName(\"clip.mpg\")");
    EXPECT_TRUE(lines[0]["result"].isNull());
    EXPECT_TRUE(lines[0]["messages"].toArray().isEmpty());
    EXPECT_TRUE(lines[1]["result"].toBool());
    EXPECT_EQ(frameInPng(dir, "f0.png"), 0);

    EXPECT_EQ(lines[2]["result"].toInt(), 0);
    const QJsonArray stepped = lines[2]["events"].toArray();
    ASSERT_EQ(stepped.size(), 1);
    EXPECT_EQ(stepped[0].toArray()[0].toString(), "PositionChange");
    EXPECT_EQ(stepped[0].toArray()[1].toDouble(), 1000.0);
    EXPECT_EQ(frameInPng(dir, "f25.png"), 25);

    EXPECT_EQ(lines[4]["result"].toInt(), 0);
    int positions = 0;
    for (const auto& e : lines[5]["events"].toArray()) {
        positions += e.toArray()[0].toString() == "PositionChange";
    }
    EXPECT_GE(positions, 15);
    EXPECT_LE(positions, 25);
}

TEST(Clipcall, ReportsMessagesGraphAndBadCalls) {
    TempDir dir;
    const auto lines =
        runClipcall(dir, {"FileName=\"missing.mpg\"", "playState", "Play()", "@graph"});
    ASSERT_EQ(lines.size(), 4u);
    const QJsonArray message = lines[0]["messages"].toArray()[0].toArray();
    EXPECT_EQ(message[0].toString(), "Failed to render file to VMR9");
    EXPECT_EQ(message[1].toString(),
              "Failed to load the file to the graph!  hr=0x80070002\r\n\r\nFilename: missing.mpg");
    EXPECT_EQ(lines[1]["result"].toInt(), 0);
    EXPECT_EQ(lines[2]["result"].toInt(), 1);
    EXPECT_EQ(lines[3]["result"].toArray(), QJsonArray{"Video Mixing Renderer 9"});

    QProcess process;
    process.start(QStringLiteral(VIEWER_BIN_DIR "/clipcall"), {"NoSuchMember()"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardOutput().contains("\"error\""));
}
