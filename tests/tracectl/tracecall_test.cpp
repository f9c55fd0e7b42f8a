// tracecall as scripts use it: one JSON object per call, errors reported and the run going on,
// the recording, montage, line, buffer and coefficient views and the saved pictures.

#include "fixture.h"

#include <QJsonArray>

namespace viewer::testing {
namespace {

TEST(Tracecall, AnswersEachCallWithOneJsonObject) {
    RecordingDescription d = montageRecording();
    d.surname = "Neri";
    d.frames = 256 * 100;
    d.videoFlag = d.videoIndex = true;
    d.videos = {{0, 60000, 1}, {60000, 60000, 2}};
    d.notes = {note(64, "Eyes \"closed\"")};
    Ctrl f;
    writeRecording(f.dir.file("rec.vwr"), d);
    const ToolRun run = tracecall({"FileName(\"" + f.path("rec.vwr") + "\")",
                                   "GetSurName()",
                                   "GetSfasVideo(90000, _)",
                                   "@recording",
                                   "GetPosNote(0)",
                                   "numMont=33",
                                   "numMont",
                                   "@notes",
                                   "GetTime(9.99)",
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
    ASSERT_EQ(out.size(), 23u);
    EXPECT_EQ(out[0]["result"].toInt(), 0);
    EXPECT_EQ(out[0]["events"].toArray().size(), 0);
    EXPECT_EQ(out[1]["result"].toString(), "Neri");
    EXPECT_EQ(out[2]["call"].toString(), "GetSfasVideo(90000, _)");
    EXPECT_EQ(out[2]["result"].toInt(), 60000);
    EXPECT_EQ(out[2]["out"].toObject()["videoFileNum"].toInt(), 2);
    const QJsonObject rec = out[3]["result"].toObject();
    EXPECT_EQ(rec["totalSamples"].toInt(), 25600);
    EXPECT_EQ(rec["order"].toArray(), QJsonArray({1, 2, 3, 167}));
    EXPECT_EQ(rec["checkWord"].toInt() & 0x8000, 0x8000);
    EXPECT_FALSE(out[3].contains("out"));
    // 64 / 256 as the shortest single-precision decimal.
    EXPECT_TRUE(run.output.contains("\"result\": 0.25,"));
    EXPECT_TRUE(out[5]["result"].isNull());
    EXPECT_EQ(out[6]["result"].toInt(), 33);
    EXPECT_EQ(out[7]["result"].toArray()[0].toObject()["text"].toString(), "Eyes \"closed\"");
    EXPECT_EQ(out[8]["result"].toInt(), 9 * 3600 + 30 * 60 + 9);
    EXPECT_TRUE(out[9]["result"].toBool());
    const QJsonObject montage = out[10]["result"].toObject();
    EXPECT_EQ(montage["description"].toString(), "All recorded electrodes");
    EXPECT_EQ(montage["pageStart"].toInt(), 256);
    EXPECT_EQ(montage["samplesPerPage"].toInt(), 2560);
    EXPECT_EQ(montage["lines"].toArray()[3].toObject()["inputB"].toInt(), 167);
    EXPECT_EQ(montage["lines"].toArray()[3].toObject()["colourIndex"].toInt(), 5);
    EXPECT_EQ(out[11]["result"].toArray()[2].toObject()["channelB"].toInt(), 2);
    const QJsonArray trace = out[12]["result"].toArray();
    ASSERT_EQ(trace.size(), 2560);
    EXPECT_EQ(trace[100].toDouble(), 32768 - (4000 + 356));
    EXPECT_EQ(out[13]["result"].toArray()[1].toArray()[2].toInt(), 3000 + 257);
    EXPECT_EQ(out[14]["result"].toObject()["K"].toDouble(), 1.0);
    for (size_t i = 15; i < out.size(); ++i) {
        EXPECT_TRUE(out[i].contains("error") && !out[i].contains("result")) << i;
    }
}

TEST(Tracecall, SavesTheLayersAtTheScreenHeightsScale) {
    Ctrl f;
    writeRecording(f.dir.file("flat.vwr"), flatRecording());
    const ToolRun run = tracecall(
        {"--size", "1000x600", "--screen-height", "600", "FileName(\"" + f.path("flat.vwr") + "\")",
         "numMont=30", "DrawPage(0)", "@render(\"" + f.path("page.png") + "\")",
         "@static(\"" + f.path("static.png") + "\")", "@paint(\"" + f.path("paint.png") + "\")",
         "@resize(200, 120)", "@render(\"" + f.path("small.png") + "\")",
         "@render(\"/no/such/dir/x.png\")", "@resize(0, 5)"});
    EXPECT_EQ(run.exitCode, 2); // the last two calls fail
    ASSERT_EQ(run.lines.size(), 10u);
    EXPECT_EQ(run.lines[3]["result"].toObject()["width"].toInt(), 1000);
    EXPECT_TRUE(run.lines[8].contains("error") && run.lines[9].contains("error"));
    const QImage page = QImage(f.path("page.png")).convertToFormat(QImage::Format_RGB32);
    // 600 pixels: 30 per cm, 1000 steps at 100 uV per cm are 29.3 pixels above row 50.
    EXPECT_EQ(columnsWith(page, kDarkRed, 21, 21).size(), 1000u);
    EXPECT_TRUE(columnsWith(page, kDarkRed, 22, 599).empty());
    EXPECT_EQ(QImage(f.path("paint.png")).convertToFormat(QImage::Format_RGB32), page);
    EXPECT_EQ(QImage(f.path("static.png")).size(), QSize(1000, 600));
    EXPECT_EQ(QImage(f.path("small.png")).size(), QSize(200, 120));
    EXPECT_EQ(tracecall({"--screen-height", "x", "totalTrcSec()"}).exitCode, 2);
}

} // namespace
} // namespace viewer::testing
