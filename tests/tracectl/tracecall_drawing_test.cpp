// tracecall saving what the control draws: page layer, static layer, painting, sizes.

#include "drawing_fixture.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

std::vector<QJsonObject> tracecall(const QStringList& args, int& exitCode) {
    QProcess p;
    p.start(QStringLiteral(VIEWER_BIN_DIR "/tracecall"), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    exitCode = p.exitCode();
    std::vector<QJsonObject> lines;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty()) {
            lines.push_back(QJsonDocument::fromJson(line).object());
        }
    }
    return lines;
}

TEST(TracecallDrawing, SavesTheLayersAndWhatPaintingShows) {
    TempDir dir;
    writeRecording(dir.file("flat.vwr"), flatRecording());
    const QString file = QString::fromStdString(dir.file("flat.vwr"));
    const QString page = QString::fromStdString(dir.file("page.png"));
    const QString layer = QString::fromStdString(dir.file("static.png"));
    const QString painted = QString::fromStdString(dir.file("paint.png"));
    const QString small = QString::fromStdString(dir.file("small.png"));
    int exitCode = -1;
    const auto lines = tracecall(
        {"--size", "500x300", "--screen-height", "2000", "FileName(\"" + file + "\")", "numMont=30",
         "ModifyGain([10, 100, 1000, -1], false)", "DrawPage(0)", "@render(\"" + page + "\")",
         "@static(\"" + layer + "\")", "@paint(\"" + painted + "\")", "@resize(200, 120)",
         "@render(\"" + small + "\")", "@render(\"/no/such/dir/x.png\")", "@resize(0, 5)"},
        exitCode);
    EXPECT_EQ(exitCode, 2); // the last two calls fail
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[2]["result"].toInt(), 0);
    EXPECT_EQ(lines[4]["result"].toObject()["width"].toInt(), 500);
    EXPECT_EQ(lines[7]["result"].toObject()["height"].toInt(), 120);
    EXPECT_TRUE(lines[9].contains("error"));
    EXPECT_TRUE(lines[10].contains("error"));

    const QImage rendered(page);
    ASSERT_EQ(rendered.size(), QSize(500, 300));
    EXPECT_EQ(QImage(layer).size(), QSize(500, 300));
    EXPECT_EQ(QImage(painted).convertToFormat(QImage::Format_RGB32),
              rendered.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(QImage(small).size(), QSize(200, 120));
    // At 10 uV per cm on a 2000-pixel screen line 0's 1000 steps (97.7 uV) lie 976 pixels
    // above its row: off the layer, so the dark red of its pen is nowhere.
    EXPECT_TRUE(DrawingFixture::columnsWith(rendered.convertToFormat(QImage::Format_RGB32),
                                            qRgb(0x80, 0, 0), 0, 299)
                    .empty());
}

TEST(TracecallDrawing, ScreenHeightSetsTheLineScale) {
    TempDir dir;
    writeRecording(dir.file("flat.vwr"), flatRecording());
    const QString file = QString::fromStdString(dir.file("flat.vwr"));
    const QString page = QString::fromStdString(dir.file("page.png"));
    int exitCode = -1;
    // 600 pixels: 30 per cm, 1000 steps at 100 uV per cm are 29.3 pixels.
    tracecall({"--size", "1000x600", "--screen-height", "600", "FileName(\"" + file + "\")",
               "numMont=30", "DrawPage(0)", "@render(\"" + page + "\")"},
              exitCode);
    ASSERT_EQ(exitCode, 0);
    const QImage rendered = QImage(page).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(rendered.pixel(500, 50 - 29), qRgb(0x80, 0, 0));
    EXPECT_EQ(tracecall({"--screen-height", "x", "totalTrcSec()"}, exitCode).size(), 0u);
    EXPECT_EQ(exitCode, 2);
}

} // namespace
} // namespace viewer::testing
