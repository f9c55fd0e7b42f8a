// The tracecall tool's montage, line, buffer, trace and coefficient calls.

#include "montage_recordings.h"
#include "temp_dir.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

// Runs tracecall with `calls`; one JSON object per call.
std::vector<QJsonObject> tracecall(const QStringList& calls) {
    QProcess p;
    p.start(QStringLiteral(VIEWER_BIN_DIR "/tracecall"), calls);
    EXPECT_TRUE(p.waitForFinished(60000));
    std::vector<QJsonObject> out;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty()) {
            out.push_back(QJsonDocument::fromJson(line).object());
        }
    }
    return out;
}

TEST(Tracecall, ShowsTheAllElectrodesMontageAndItsValues) {
    TempDir dir;
    writeRecording(dir.file("rec.vwr"), montageRecording());
    const auto out =
        tracecall({QStringLiteral("FileName(\"%1\")").arg(dir.file("rec.vwr").c_str()),
                   "numMont=33", "DrawPage(1)", "@montage", "@lines", "@trace(3)", "@buffer(0, 2)",
                   "@coefficients(0)", "@trace(128)", "@buffer(2, 1)"});
    ASSERT_EQ(out.size(), 10u);
    EXPECT_TRUE(out[2]["result"].toBool());

    const QJsonObject montage = out[3]["result"].toObject();
    EXPECT_EQ(montage["description"].toString(), "All recorded electrodes");
    EXPECT_EQ(montage["numLines"].toInt(), 4);
    EXPECT_EQ(montage["pageStart"].toInt(), 256);
    EXPECT_EQ(montage["samplesPerPage"].toInt(), 2560);
    const QJsonArray lines = montage["lines"].toArray();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[3].toObject()["inputB"].toInt(), 167);
    EXPECT_EQ(lines[3].toObject()["colourIndex"].toInt(), 5);

    const QJsonArray derivations = out[4]["result"].toArray();
    ASSERT_EQ(derivations.size(), 4);
    EXPECT_EQ(derivations[2].toObject()["kind"].toInt(), 4);
    EXPECT_EQ(derivations[2].toObject()["channelB"].toInt(), 2);

    const QJsonArray trace = out[5]["result"].toArray();
    ASSERT_EQ(trace.size(), 2560);
    EXPECT_EQ(trace[0].toDouble(), 32768 - (4000 + 256));
    EXPECT_EQ(trace[100].toDouble(), 32768 - (4000 + 356 % 500));

    const QJsonArray buffer = out[6]["result"].toArray();
    ASSERT_EQ(buffer.size(), 2);
    EXPECT_EQ(buffer[1].toArray()[2].toInt(), 3000 + 257);

    const QJsonObject k = out[7]["result"].toObject();
    EXPECT_EQ(k["K"].toDouble(), 1.0);
    EXPECT_EQ(k["O"].toDouble(), 1.0);
    EXPECT_EQ(k["J"].toDouble(), 0.0);

    EXPECT_TRUE(out[8].contains("error"));
    EXPECT_TRUE(out[9].contains("error"));
}

} // namespace
} // namespace viewer::testing
