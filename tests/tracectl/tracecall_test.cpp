// tracecall as scripts use it: one JSON object per call, errors reported and the run going on,
// the recording, montage, line, buffer and coefficient views and the saved pictures.

#include "fixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace viewer::testing {
namespace {

struct ToolRun {
    int exitCode = -1;
    std::vector<QJsonObject> lines; // one per call
    QString output;
};

inline ToolRun tracecall(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VIEWER_BIN_DIR "/tracecall"), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    ToolRun run{p.exitCode(), {}, QString::fromUtf8(p.readAllStandardOutput())};
    for (const QString& line : run.output.split('\n', Qt::SkipEmptyParts)) {
        QJsonParseError error{};
        run.lines.push_back(QJsonDocument::fromJson(line.toUtf8(), &error).object());
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    }
    return run;
}

TEST(Tracecall, AnswersEachCallWithOneJsonObject) {
    RecordingDescription d = montageRecording();
    d.notes = {note(64, "Eyes \"closed\"")};
    Ctrl f;
    writeRecording(f.dir.file("rec.vwr"), d);
    const ToolRun run = tracecall({"FileName(\"" + f.path("rec.vwr") + "\")",
                                   "GetSfasVideo(90000, _)",
                                   "@recording",
                                   "GetPosNote(0)",
                                   "numMont=33",
                                   "numMont",
                                   "@notes",
                                   "DrawPage(1)",
                                   "@montage",
                                   "@lines",
                                   "@trace(3)",
                                   "@buffer(0, 2)",
                                   "@coefficients(0)",
                                   "@trace(128)",
                                   "@buffer(2, 1)",
                                   "NoSuchMember()",
                                   "GetMont(",
                                   "GetMont(1, 2)",
                                   "nothing",
                                   "@nothing",
                                   "GetMont(\"text\")"});
    EXPECT_EQ(run.exitCode, 2) << run.output.toStdString();
    const std::vector<QJsonObject>& out = run.lines;
    ASSERT_EQ(out.size(), 21u);
    EXPECT_EQ(out[0]["result"].toInt(), 0);
    EXPECT_EQ(out[0]["events"].toArray().size(), 0);
    EXPECT_EQ(out[1]["call"].toString(), "GetSfasVideo(90000, _)");
    EXPECT_TRUE(out[1]["out"].toObject().contains("videoFileNum"));
    EXPECT_EQ(out[2]["result"].toObject()["order"].toArray(), QJsonArray({1, 2, 3, 167}));
    EXPECT_FALSE(out[2].contains("out"));
    EXPECT_TRUE(run.output.contains("\"result\": 0.25,")); // the shortest float decimal
    EXPECT_TRUE(out[4]["result"].isNull());
    EXPECT_EQ(out[5]["result"].toInt(), 33);
    EXPECT_EQ(out[6]["result"].toArray()[0].toObject()["text"].toString(), "Eyes \"closed\"");
    EXPECT_TRUE(out[7]["result"].toBool());
    const QJsonObject montage = out[8]["result"].toObject();
    EXPECT_EQ(montage["description"].toString(), "All recorded electrodes");
    EXPECT_EQ(montage["pageStart"].toInt(), 256);
    EXPECT_EQ(montage["lines"].toArray()[3].toObject()["inputB"].toInt(), 167);
    EXPECT_EQ(out[9]["result"].toArray()[2].toObject()["channelB"].toInt(), 2);
    EXPECT_EQ(out[10]["result"].toArray().size(), 2560);
    EXPECT_EQ(out[10]["result"].toArray()[100].toDouble(), 32768 - (4000 + 356));
    EXPECT_EQ(out[11]["result"].toArray()[1].toArray()[2].toInt(), 3000 + 257);
    EXPECT_EQ(out[12]["result"].toObject()["K"].toDouble(), 1.0);
    for (size_t i = 13; i < out.size(); ++i) {
        EXPECT_TRUE(out[i].contains("error") && !out[i].contains("result")) << i;
    }
}

TEST(Tracecall, SavesTheLayersAtTheScreenHeightsScale) {
    Ctrl f;
    writeRecording(f.dir.file("flat.vwr"), flatRecording());
    const auto png = [&f](const char* name) { return "(\"" + f.path(name) + "\")"; };
    const ToolRun run = tracecall(
        {"--size", "1000x600", "--screen-height", "600", "FileName(\"" + f.path("flat.vwr") + "\")",
         "numMont=30", "DrawPage(0)", "@render" + png("page.png"), "@paint" + png("paint.png"),
         "@resize(200, 120)", "@static" + png("small.png"), "@render(\"/no/such/x.png\")"});
    EXPECT_EQ(run.exitCode, 2); // the last call fails
    ASSERT_EQ(run.lines.size(), 8u);
    EXPECT_TRUE(run.lines[7].contains("error"));
    const QImage page = QImage(f.path("page.png")).convertToFormat(QImage::Format_RGB32);
    // 600 pixels: 30 per cm, 1000 steps at 100 uV per cm are 29.3 pixels above row 50.
    EXPECT_EQ(columnsWith(page, kDarkRed, 21, 21).size(), 1000u);
    EXPECT_TRUE(columnsWith(page, kDarkRed, 22, 599).empty());
    EXPECT_EQ(QImage(f.path("paint.png")).convertToFormat(QImage::Format_RGB32), page);
    EXPECT_EQ(QImage(f.path("small.png")).size(), QSize(200, 120));
    EXPECT_EQ(tracecall({"--screen-height", "x", "totalTrcSec()"}).exitCode, 2);
}

} // namespace
} // namespace viewer::testing
