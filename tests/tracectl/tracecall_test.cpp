// tracecall as scripts use it: one JSON object per call, errors reported and the run going on.

#include "recording_writer.h"
#include "temp_dir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

struct ToolRun {
    int exitCode = -1;
    std::vector<QJsonObject> lines;
    QString output;
};

ToolRun tracecall(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VIEWER_BIN_DIR "/tracecall"), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    ToolRun run;
    run.exitCode = p.exitCode();
    run.output = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString& line : run.output.split('\n', Qt::SkipEmptyParts)) {
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(line.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        run.lines.push_back(doc.object());
    }
    return run;
}

RecordingDescription recordingWithVideo() {
    RecordingDescription d;
    for (uint16_t code : {1, 2}) {
        d.order.push_back(code);
        d.electrodes[code] = eegElectrode(numberedLabel("E", code));
    }
    d.surname = "Neri";
    d.frames = 256 * 100;
    d.videoFlag = true;
    d.videoIndex = true;
    d.videos = {{0, 60000, 1}, {60000, 60000, 2}};
    d.notes = {note(64, "Eyes \"closed\"")};
    return d;
}

TEST(Tracecall, AnswersEachCallWithOneJsonObject) {
    TempDir dir;
    writeRecording(dir.file("rec.vwr"), recordingWithVideo());
    const QString file = QString::fromStdString(dir.file("rec.vwr"));
    const ToolRun run = tracecall({"FileName(\"" + file + "\")", "GetSurName()", "totalTrcSec()",
                                   "GetSfasVideo(90000, _)", "@recording", "GetPosNote(0)",
                                   "numMont=3", "numMont", "@notes", "GetTime(9.99)"});
    ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
    ASSERT_EQ(run.lines.size(), 10u);
    EXPECT_EQ(run.lines[0]["result"].toInt(), 0);
    EXPECT_EQ(run.lines[0]["events"].toArray().size(), 0);
    EXPECT_EQ(run.lines[1]["result"].toString(), "Neri");
    EXPECT_EQ(run.lines[2]["result"].toInt(), 100);
    EXPECT_EQ(run.lines[3]["call"].toString(), "GetSfasVideo(90000, _)");
    EXPECT_EQ(run.lines[3]["result"].toInt(), 60000);
    EXPECT_EQ(run.lines[3]["out"].toObject()["videoFileNum"].toInt(), 2);
    const QJsonObject rec = run.lines[4]["result"].toObject();
    EXPECT_EQ(rec["rate"].toInt(), 256);
    EXPECT_EQ(rec["numChannels"].toInt(), 2);
    EXPECT_EQ(rec["totalSamples"].toInt(), 25600);
    EXPECT_EQ(rec["order"].toArray(), QJsonArray({1, 2}));
    EXPECT_EQ(rec["checkWord"].toInt() & 0x8000, 0x8000);
    EXPECT_FALSE(run.lines[4].contains("out"));
    // 64 / 256 as the shortest single-precision decimal.
    EXPECT_TRUE(run.output.contains("\"result\": 0.25,")) << run.output.toStdString();
    EXPECT_TRUE(run.lines[6]["result"].isNull());
    EXPECT_EQ(run.lines[7]["result"].toInt(), 3);
    EXPECT_EQ(run.lines[8]["result"].toArray()[0].toObject()["text"].toString(), "Eyes \"closed\"");
    EXPECT_EQ(run.lines[9]["result"].toInt(), 9 * 3600 + 30 * 60 + 9);
}

TEST(Tracecall, ReportsBadCallsAndGoesOn) {
    const ToolRun run = tracecall({"NoSuchMember()", "GetMont(", "GetMont(1, 2)", "nothing",
                                   "@nothing", "totalTrcSec()", "GetMont(\"text\")"});
    EXPECT_EQ(run.exitCode, 2);
    ASSERT_EQ(run.lines.size(), 7u);
    for (int i : {0, 1, 2, 3, 4, 6}) {
        EXPECT_TRUE(run.lines[i].contains("error")) << i;
        EXPECT_FALSE(run.lines[i].contains("result")) << i;
    }
    EXPECT_EQ(run.lines[5]["result"].toInt(), 0);
}

} // namespace
} // namespace viewer::testing
