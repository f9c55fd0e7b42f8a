// The control as its host sees it: dispatch interface, saved form, opening files, the gain,
// filter and page members and which layer each of them redraws; and the tracecall tool that
// scripts use to call it.

#include "fixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QProcess>
#include <QSettings>

#include <cmath>

namespace viewer::testing {
namespace {

std::string ownMembers(QMetaMethod::MethodType type) {
    const QMetaObject& meta = CViewerCtrl::staticMetaObject;
    std::string names;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        if (meta.method(i).methodType() == type) {
            names += meta.method(i).methodSignature().toStdString() + " ";
        }
    }
    return names;
}

TEST(ViewerInterface, MembersStandInDispatchOrder) {
    const QMetaObject& meta = CViewerCtrl::staticMetaObject;
    std::string properties;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        properties += std::string(meta.property(i).name()) + " ";
    }
    EXPECT_EQ(properties, "fontBold fontItalic fontName fontSize labelsColor traceOverLabel "
                          "gridType gridColor pathSettings numMont gratis notchFreq ViewMode "
                          "BackColor BorderStyle ");
    EXPECT_EQ(ownMembers(QMetaMethod::Method),
              "ModifyGain(std::span<const int32_t>,bool) Redraw(bool) GetGainEEG() "
              "DrawPage(int32_t) GetPosNote(int32_t) totalTrcSec() DeselectAll() "
              "GetNumArchivedMontage() SetGainEEG(int32_t) FileName(QString) GetMont(int32_t) "
              "GetVideoOneSfasFrame() GetMaxLarghEtichette() GetPixelPosition(int32_t) "
              "GetSurName() GetName() GetBirthDate() GetExamDate() "
              "GetDateTimeFromSeconds(int32_t) GetArchivedMontName(int16_t) "
              "SetHighFilterEEG(int32_t) SetLowFilterEEG(int32_t) GetHighFilterEEG() "
              "GetLowFilterEEG() SetNotchFilter(int16_t) GetNotchFilter() "
              "GetSfasVideo(int32_t,int32_t*) GetNextFileVideoStart(int32_t) ThereIsVideo() "
              "SetSecNumber(float) secNumber() GetTime(float) ");
    EXPECT_EQ(ownMembers(QMetaMethod::Signal),
              "DeleteNote() NoteNotification(int16_t,int32_t,QString) CambiatoMontaggio() ");
    EXPECT_STREQ(meta.classInfo(meta.indexOfClassInfo("ProgID")).value(), "VIEWER.ViewerCtrl.1");
    EXPECT_STREQ(meta.classInfo(meta.indexOfClassInfo("ClassID")).value(),
                 "{936702E5-1EA0-11D5-878C-0000E865F2F8}");
}

TEST(ControlForm, LeavesDefaultsOutRoundTripsAndResets) {
    Ctrl f;
    CViewerCtrl saved;
    saved.setNotchFreq(60);
    saved.setTraceOverLabel(false);
    saved.setGridType(3); // not persistent
    QSettings settings(f.path("form.ini"), QSettings::IniFormat);
    saved.saveProperties(settings);
    EXPECT_EQ(settings.allKeys(), (QStringList{"_Version", "notchFreq", "traceOverLabel"}));
    f.ctrl.setNumMont(31);
    f.ctrl.loadProperties(settings);
    EXPECT_EQ(f.ctrl.numMont(), 0); // absent from the form: its default
    EXPECT_EQ(f.ctrl.notchFreq(), 60);
    EXPECT_FALSE(f.ctrl.traceOverLabel());
    EXPECT_FALSE(f.ctrl.isModified());
    CViewerCtrl().saveProperties(settings); // the defaults remove what was stored
    EXPECT_EQ(settings.allKeys(), QStringList{"_Version"});
    f.ctrl.loadProperties(QVariantMap{{"fontSize", "big"}}); // what does not fit: the default
    EXPECT_EQ(f.ctrl.fontSize(), 10);
    f.ctrl.resetProperties();
    EXPECT_EQ(f.ctrl.notchFreq(), 50);
}

TEST(ViewerFileName, OpensAndReplacesRecordingsAsTheHostExpects) {
    Ctrl f;
    EXPECT_EQ(f.ctrl.GetPixelPosition(10001), -1); // past the page length in force, file or not
    RecordingDescription d = montageRecording();
    d.birthDay = 29;
    d.birthMonth = 2;
    d.birthYear = 84;
    ASSERT_EQ(f.open(d), 0);
    EXPECT_TRUE(f.ctrl.isModified());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(f.ctrl.GetBirthDate(), "2/29/1984");
    EXPECT_EQ(f.ctrl.FileName(f.path("missing.vwr")), -1); // the recording stays
    EXPECT_EQ(f.ctrl.totalTrcSec(), 30);
    EXPECT_FALSE(f.ctrl.recording().fileInvalid);
    d.checkWord = 3; // not accepted: no recording, the file marked invalid
    EXPECT_EQ(f.open(d, "bad.vwr"), -1);
    EXPECT_EQ(f.ctrl.totalTrcSec(), 0);
    EXPECT_TRUE(f.ctrl.recording().fileInvalid);
    d.checkWord.reset();
    d.birthYear = 85; // 1985 had no 29 February
    ASSERT_EQ(f.open(d, "nodate.vwr"), 0);
    EXPECT_EQ(f.ctrl.GetBirthDate(), "Invalid date");
    QLocale::setDefault(QLocale::system());
}

TEST(ControlSettings, GainAndFilterMembersRedrawTheMarkersButNotTheTraces) {
    const std::vector<int32_t> steps = {10, 50, 100, 200, -1};
    RecordingDescription d = flatRecording();
    d.montages[0].selected[1] = 1;
    Ctrl f;
    int beeps = 0;
    f.ctrl.setBeeper([&] { ++beeps; });
    EXPECT_EQ(f.ctrl.ModifyGain(steps, true), 0); // no file: neutral and silent
    f.show(d);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage page = f.ctrl.pageLayer();
    EXPECT_EQ(f.ctrl.ModifyGain(steps, false), 0);
    EXPECT_EQ(f.ctrl.ModifyGain(steps, false), -1); // line 5 is at 10: a beep, no change
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(f.ctrl.SetGainEEG(500), 0); // the selected line only
    const auto& gain = f.ctrl.recording().currentMontage.gain;
    EXPECT_EQ(std::vector<int32_t>(gain.begin(), gain.begin() + 6),
              (std::vector<int32_t>{50, 500, 50, 50, 50, 10}));
    EXPECT_EQ(f.ctrl.GetGainEEG(), -1);
    EXPECT_TRUE(markerAt(f.ctrl.staticLayer(), f.row(1))); // off the prevailing settings
    EXPECT_FALSE(markerAt(f.ctrl.staticLayer(), f.row(0)));
    EXPECT_EQ(f.ctrl.pageLayer(), page); // the traces wait for a drawing
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_TRUE(markerAt(f.ctrl.pageLayer(), f.row(1)));
    f.ctrl.DeselectAll();
    EXPECT_EQ(f.ctrl.SetHighFilterEEG(530), 0);
    ASSERT_TRUE(f.ctrl.DrawPage(0)); // through the new high-pass the step falls toward 0
    EXPECT_LT(std::abs(f.values(0).back()), std::abs(f.values(0).front()) / 2);
}

TEST(ControlSettings, LayersRedrawnByEachMember) {
    Ctrl f;
    f.show();
    f.ctrl.setTraceOverLabel(false);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage page = f.ctrl.pageLayer();
    const QImage layer = f.ctrl.staticLayer();
    f.ctrl.setBackColor(0x00000080);
    EXPECT_EQ(f.ctrl.staticLayer(), layer); // only marked modified
    f.ctrl.setGridColor(0x00FF0000);        // the background too
    EXPECT_EQ(f.ctrl.staticLayer().pixel(999, 599), qRgb(0x80, 0, 0));
    f.ctrl.setGridType(3);
    EXPECT_EQ(f.ctrl.pageLayer(), page);
    f.ctrl.DeselectAll(); // copies only the label column into the page
    const int32_t label = f.ctrl.GetMaxLarghEtichette();
    const QImage& now = f.ctrl.pageLayer();
    EXPECT_EQ(now.copy(0, 0, label, 600), f.ctrl.staticLayer().copy(0, 0, label, 600));
    EXPECT_EQ(now.copy(label, 0, 1000 - label, 600), page.copy(label, 0, 1000 - label, 600));
    f.ctrl.Redraw(false);
    EXPECT_EQ(f.ctrl.pageLayer().pixel(999, 599), f.ctrl.staticLayer().pixel(999, 599));
}

TEST(DrawPage, ReportsWhetherTheWholePageLayInTheDataAtTheLengthChosen) {
    Ctrl f;
    EXPECT_FLOAT_EQ(f.ctrl.SetSecNumber(10.0f), 1.0f); // no file: the initial 1 s cap
    RecordingDescription d = montageRecording(256, 30);
    d.frames = 256 * 25 - 1;
    ASSERT_EQ(f.open(d), 0);
    EXPECT_FALSE(f.ctrl.DrawPage(0)); // no lines until a montage is chosen
    f.ctrl.setNumMont(31);
    EXPECT_TRUE(f.ctrl.DrawPage(14));
    EXPECT_FALSE(f.ctrl.DrawPage(15)); // one frame past the data
    EXPECT_FALSE(f.ctrl.DrawPage(25)); // outside the data: the page stays
    EXPECT_EQ(f.ctrl.recording().pageStart, 15u * 256u);
    EXPECT_FLOAT_EQ(f.ctrl.SetSecNumber(2.5f), 2.5f);
    ASSERT_TRUE(f.ctrl.DrawPage(1));
    EXPECT_EQ(f.values(0).size(), 640u);
    EXPECT_FLOAT_EQ(f.ctrl.SetSecNumber(1e9f), 1280.0f); // maxPageMs 1280000
    EXPECT_FALSE(f.ctrl.DrawPage(0));
    ASSERT_EQ(f.open(flatRecording(), "six.vwr"), 0); // 1280 s do not fit six channels:
    EXPECT_FLOAT_EQ(f.ctrl.secNumber(), 853.332f);    // 1310720 / 6 frames at 256 Hz
}

// The one end-to-end check of filter state: kept across pages and redraws, cleared by notch.
TEST(SetNotchFilter, StoresTheLowByteAndClearsTheFilterState) {
    Ctrl f;
    ASSERT_EQ(f.open(montageRecording(256, 30)), 0);
    f.ctrl.setNumMont(31); // "Referential": 0.53 Hz and 70 Hz, notch off
    f.ctrl.SetNotchFilter(1);
    EXPECT_TRUE(f.ctrl.GetNotchFilter());
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const std::vector<float> first = f.values(0);
    f.ctrl.Redraw(false);
    EXPECT_NE(f.values(0), first); // the same samples, the filters going on
    f.ctrl.SetNotchFilter(0x101);  // low byte 1: the same notch, state cleared
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.values(0), first);
    f.ctrl.SetNotchFilter(0x100);
    EXPECT_FALSE(f.ctrl.model().filters().line(0).notchOn());
}

// The exit code, each call's JSON object and the whole output.
std::tuple<int, std::vector<QJsonObject>, QString> tracecall(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VIEWER_BIN_DIR "/tracecall"), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    const QString output = QString::fromUtf8(p.readAllStandardOutput());
    std::vector<QJsonObject> lines;
    for (const QString& line : output.split('\n', Qt::SkipEmptyParts)) {
        QJsonParseError error{};
        lines.push_back(QJsonDocument::fromJson(line.toUtf8(), &error).object());
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    }
    return {p.exitCode(), lines, output};
}

TEST(Tracecall, AnswersEachCallWithOneJsonObject) {
    RecordingDescription d = montageRecording();
    d.notes = {note(64, "Eyes \"closed\"")};
    Ctrl f;
    writeRecording(f.dir.file("rec.vwr"), d);
    const auto [exitCode, out, output] = tracecall(
        {"FileName(\"" + f.path("rec.vwr") + "\")", "GetSfasVideo(90000, _)", "@recording",
         "GetPosNote(0)", "numMont=33", "@notes", "DrawPage(1)", "@montage", "@lines", "@trace(3)",
         "@buffer(0, 2)", "@coefficients(0)", "@trace(128)", "@buffer(2, 1)", "NoSuchMember()",
         "GetMont(", "GetMont(1, 2)", "nothing", "GetMont(\"text\")"});
    EXPECT_EQ(exitCode, 2) << output.toStdString();
    ASSERT_EQ(out.size(), 19u);
    EXPECT_EQ(out[0]["result"].toInt(), 0);
    EXPECT_TRUE(out[1]["out"].toObject().contains("videoFileNum"));
    EXPECT_EQ(out[2]["result"].toObject()["order"].toArray(), QJsonArray({1, 2, 3, 167}));
    EXPECT_TRUE(output.contains("\"result\": 0.25,")); // the shortest float decimal
    EXPECT_EQ(out[5]["result"].toArray()[0].toObject()["text"].toString(), "Eyes \"closed\"");
    EXPECT_TRUE(out[6]["result"].toBool());
    EXPECT_EQ(out[7]["result"].toObject()["description"].toString(), "All recorded electrodes");
    EXPECT_EQ(out[9]["result"].toArray()[100].toDouble(), 32768 - (4000 + 356));
    EXPECT_EQ(out[10]["result"].toArray()[1].toArray()[2].toInt(), 3000 + 257);
    EXPECT_EQ(out[11]["result"].toObject()["K"].toDouble(), 1.0);
    for (size_t i = 12; i < out.size(); ++i) {
        EXPECT_TRUE(out[i].contains("error") && !out[i].contains("result")) << i;
    }
}

TEST(Tracecall, SavesTheLayersAtTheScreenHeightsScale) {
    Ctrl f;
    writeRecording(f.dir.file("flat.vwr"), flatRecording());
    const auto png = [&f](const char* name) { return "(\"" + f.path(name) + "\")"; };
    const auto [exitCode, out, output] = tracecall(
        {"--size", "1000x600", "--screen-height", "600", "FileName(\"" + f.path("flat.vwr") + "\")",
         "numMont=30", "DrawPage(0)", "@render" + png("page.png"), "@paint" + png("paint.png"),
         "@resize(200, 120)", "@static" + png("small.png"), "@render(\"/no/such/x.png\")"});
    EXPECT_EQ(exitCode, 2); // the last call fails
    ASSERT_EQ(out.size(), 8u);
    EXPECT_TRUE(out[7].contains("error"));
    const QImage page = QImage(f.path("page.png")).convertToFormat(QImage::Format_RGB32);
    // 600 pixels: 30 per cm, 1000 steps at 100 uV per cm are 29.3 pixels above row 50.
    EXPECT_EQ(columnsWith(page, kDarkRed, 21, 21).size(), 1000u);
    EXPECT_TRUE(columnsWith(page, kDarkRed, 22, 599).empty());
    EXPECT_EQ(QImage(f.path("paint.png")).convertToFormat(QImage::Format_RGB32), page);
    EXPECT_EQ(QImage(f.path("small.png")).size(), QSize(200, 120));
}

// A page ending exactly at the end of the data is whole; one frame more reads the missing
// frame as electrode 0's zero level.
TEST(LastPage, EndingAtTheEndOfTheDataIsWhole) {
    const struct {
        int64_t frames;
        bool whole;
    } cases[] = {{256 * 25, true}, {256 * 25 - 1, false}};
    for (const auto& c : cases) {
        Ctrl f;
        RecordingDescription d = montageRecording(256, 25);
        d.frames = c.frames;
        d.electrodes[0].logicGround = 777;
        ASSERT_EQ(f.open(d), 0);
        f.ctrl.setNumMont(31); // 10 s pages
        EXPECT_EQ(f.ctrl.DrawPage(15), c.whole) << c.frames;
        const Recording& rec = f.ctrl.recording();
        ASSERT_EQ(rec.samplesPerPage, 2560u);
        for (uint32_t frame : {0u, 2558u, 2559u}) {
            const int64_t at = 15 * 256 + frame;
            for (int ch = 0; ch < 4; ++ch) {
                const int32_t expected =
                    at < c.frames ? static_cast<int32_t>(1000 * (ch + 1) + at % 500) : 777;
                EXPECT_EQ(rec.pageBuffer[frame * 4 + ch], expected) << c.frames << ' ' << frame;
            }
        }
    }
}

} // namespace
} // namespace viewer::testing
