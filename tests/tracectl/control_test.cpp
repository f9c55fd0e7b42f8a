// The control as its host sees it: dispatch interface, saved form, opening files, the gain,
// filter and page members and which layer each of them redraws.

#include "fixture.h"

#include <QDate>
#include <QLocale>
#include <QMetaMethod>
#include <QMetaProperty>
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
    CViewerCtrl saved;
    EXPECT_EQ(saved.saveProperties(), (QVariantMap{{"_Version", "1.0"}}));
    saved.setNotchFreq(60);
    saved.setTraceOverLabel(false);
    saved.setBackColor(0x00102030);
    saved.setGridType(3); // not persistent
    Ctrl f;
    QSettings settings(f.path("form.ini"), QSettings::IniFormat);
    saved.saveProperties(settings);
    settings.sync();
    EXPECT_EQ(settings.allKeys().size(), 4);
    CViewerCtrl& loaded = f.ctrl;
    loaded.setNumMont(31);
    loaded.loadProperties(settings);
    EXPECT_EQ(loaded.numMont(), 0); // absent from the form: its default
    EXPECT_EQ(loaded.notchFreq(), 60);
    EXPECT_FALSE(loaded.traceOverLabel());
    EXPECT_EQ(loaded.BackColor(), 0x00102030u);
    EXPECT_FALSE(loaded.isModified());
    CViewerCtrl().saveProperties(settings); // the defaults remove what was stored
    EXPECT_EQ(settings.allKeys(), QStringList{"_Version"});
    // Values that do not fit take the default; so does everything after a reset.
    loaded.loadProperties(QVariantMap{{"numMont", 70000}, {"fontSize", "big"}});
    EXPECT_EQ(loaded.numMont(), 0);
    EXPECT_EQ(loaded.fontSize(), 10);
    loaded.resetProperties();
    EXPECT_EQ(loaded.notchFreq(), 50);
    EXPECT_TRUE(loaded.traceOverLabel());
}

TEST(ViewerFileName, OpensAndReplacesRecordingsAsTheHostExpects) {
    Ctrl f;
    EXPECT_EQ(f.ctrl.GetBirthDate(), "Invalid date"); // no file: all-zero fields
    EXPECT_EQ(f.ctrl.GetPixelPosition(10000), 1000);  // the page length in force, file or not
    EXPECT_EQ(f.ctrl.GetPixelPosition(10001), -1);
    RecordingDescription d = montageRecording();
    d.surname = "Bianchi";
    d.birthDay = 29;
    d.birthMonth = 2;
    d.birthYear = 84;
    ASSERT_EQ(f.open(d), 0);
    EXPECT_EQ(f.ctrl.GetSurName(), "Bianchi");
    EXPECT_EQ(f.ctrl.recording().maxPageMs, 1280000); // 1280 s of four channels at 256 Hz
    EXPECT_EQ(f.lines(), 0);
    EXPECT_TRUE(f.ctrl.isModified());
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(f.ctrl.GetBirthDate(), "2/29/1984");
    QLocale::setDefault(QLocale::system());
    // A missing path leaves the open recording in place.
    EXPECT_EQ(f.ctrl.FileName(f.path("missing.vwr")), -1);
    EXPECT_EQ(f.ctrl.GetSurName(), "Bianchi");
    EXPECT_FALSE(f.ctrl.recording().fileInvalid);
    d.checkWord = 3; // not accepted: no recording, the file marked invalid
    EXPECT_EQ(f.open(d, "bad.vwr"), -1);
    EXPECT_EQ(f.ctrl.GetSurName(), "");
    EXPECT_EQ(f.ctrl.totalTrcSec(), 0);
    EXPECT_TRUE(f.ctrl.recording().fileInvalid);
    d.checkWord.reset();
    d.birthYear = 85; // 1985 had no 29 February
    ASSERT_EQ(f.open(d, "nodate.vwr"), 0);
    EXPECT_EQ(f.ctrl.GetBirthDate(), "Invalid date");
}

std::vector<int32_t> gains(const CViewerCtrl& ctrl) {
    const MontageRecord& m = ctrl.recording().currentMontage;
    return {m.gain.begin(), m.gain.begin() + m.numLines};
}

TEST(ControlSettings, GainAndFilterMembersRedrawTheMarkersButNotTheTraces) {
    const std::vector<int32_t> steps = {10, 50, 100, 200, -1};
    RecordingDescription d = flatRecording();
    d.montages[0].selected[1] = 1;
    Ctrl f;
    int beeps = 0;
    f.ctrl.setBeeper([&] { ++beeps; });
    EXPECT_EQ(f.ctrl.ModifyGain(steps, true), 0); // no file: neutral and silent
    EXPECT_EQ(f.ctrl.GetHighFilterEEG(), -1);
    f.show(d);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage page = f.ctrl.pageLayer();
    EXPECT_EQ(f.ctrl.ModifyGain(steps, false), 0);
    EXPECT_EQ(f.ctrl.ModifyGain(steps, false), -1); // line 5 is at 10: a beep, no change
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(f.ctrl.GetGainEEG(), 50);
    EXPECT_EQ(f.ctrl.SetGainEEG(500), 0); // the selected line only
    EXPECT_EQ(gains(f.ctrl), (std::vector<int32_t>{50, 500, 50, 50, 50, 10}));
    EXPECT_EQ(f.ctrl.GetGainEEG(), -1);
    EXPECT_TRUE(markerAt(f.ctrl.staticLayer(), f.row(1))); // off the prevailing settings
    EXPECT_FALSE(markerAt(f.ctrl.staticLayer(), f.row(0)));
    EXPECT_EQ(f.ctrl.pageLayer(), page); // the traces wait for a drawing
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_TRUE(markerAt(f.ctrl.pageLayer(), f.row(1)));
    f.ctrl.DeselectAll();
    EXPECT_EQ(f.ctrl.SetHighFilterEEG(530), 0);
    EXPECT_EQ(f.ctrl.GetHighFilterEEG(), 530);
    // A first page through the new high-pass falls from its step toward 0.
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const std::vector<float> v = f.values(0);
    EXPECT_LT(std::abs(v.back()), std::abs(v.front()) / 2);
}

TEST(ControlSettings, LayersRedrawnByEachMember) {
    Ctrl f;
    f.show();
    f.ctrl.setTraceOverLabel(false);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage page = f.ctrl.pageLayer();
    const QImage layer = f.ctrl.staticLayer();
    f.ctrl.setFontSize(20);
    f.ctrl.setBackColor(0x00000080);
    EXPECT_EQ(f.ctrl.staticLayer(), layer); // only marked modified
    EXPECT_TRUE(f.ctrl.isModified());
    f.ctrl.setGridColor(0x00FF0000); // background and font at once
    EXPECT_EQ(f.ctrl.staticLayer().pixel(999, 599), qRgb(0x80, 0, 0));
    f.ctrl.setGridType(3);
    EXPECT_EQ(f.ctrl.pageLayer(), page);
    // DeselectAll copies only the label column into the page.
    f.ctrl.DeselectAll();
    const int32_t label = f.ctrl.GetMaxLarghEtichette();
    const QImage& now = f.ctrl.pageLayer();
    EXPECT_EQ(now.copy(0, 0, label, 600), f.ctrl.staticLayer().copy(0, 0, label, 600));
    EXPECT_EQ(now.copy(label, 0, 1000 - label, 600), page.copy(label, 0, 1000 - label, 600));
    f.ctrl.Redraw(false);
    EXPECT_EQ(f.ctrl.pageLayer().pixel(999, 599), f.ctrl.staticLayer().pixel(999, 599));
    f.ctrl.setViewMode(0x101); // low byte: the average reference
    EXPECT_EQ(f.ctrl.ViewMode(), 1);
    EXPECT_STREQ(f.ctrl.recording().electrodes[0].positiveLabel.data(), "AVG");
}

TEST(DrawPage, ReportsWhetherTheWholePageLayInTheDataAtTheLengthChosen) {
    Ctrl f;
    EXPECT_FLOAT_EQ(f.ctrl.SetSecNumber(10.0f), 1.0f); // no file: the initial 1 s cap
    EXPECT_FALSE(f.ctrl.DrawPage(0));
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
    EXPECT_EQ(f.ctrl.recording().samplesPerPage, 1280u * 256u);
    EXPECT_FALSE(f.ctrl.DrawPage(0));
}

// The one end-to-end check of filter state: kept across pages and redraws, cleared by notch.
TEST(SetNotchFilter, StoresTheLowByteAndClearsTheFilterState) {
    Ctrl f;
    ASSERT_EQ(f.open(montageRecording(256, 30)), 0);
    f.ctrl.setNumMont(31); // "Referential": 0.53 Hz and 70 Hz, notch off
    EXPECT_FALSE(f.ctrl.GetNotchFilter());
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
    EXPECT_FALSE(f.ctrl.GetNotchFilter());
    EXPECT_FALSE(f.ctrl.model().filters().line(0).notchOn());
}

} // namespace
} // namespace viewer::testing
