// Opening recordings through the control and what it answers about them.

#include "CViewerCtrl.h"
#include "recording_writer.h"
#include "temp_dir.h"

#include <QDate>
#include <QLocale>
#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

RecordingDescription smallRecording() {
    RecordingDescription d;
    for (uint16_t code : {1, 2, 22, 23}) {
        d.order.push_back(code);
        d.electrodes[code] = eegElectrode(numberedLabel("E", code));
    }
    d.frames = 256 * 4;
    d.surname = "Bianchi";
    d.name = "Luca";
    d.birthDay = 29;
    d.birthMonth = 2;
    d.birthYear = 84; // 29 February 1984
    return d;
}

QString path(const TempDir& dir, const char* name) {
    return QString::fromStdString(dir.file(name));
}

TEST(ViewerFileName, OpensAndReplacesRecordingsAsTheHostExpects) {
    TempDir dir;
    writeRecording(dir.file("good.vwr"), smallRecording());
    RecordingDescription other = smallRecording();
    other.checkWord = 3;
    writeRecording(dir.file("bad.vwr"), other);

    CViewerCtrl ctrl;
    ASSERT_EQ(ctrl.FileName(path(dir, "good.vwr")), 0);
    EXPECT_EQ(ctrl.GetSurName(), "Bianchi");
    EXPECT_EQ(ctrl.totalTrcSec(), 4);
    EXPECT_EQ(ctrl.recording().maxPageMs, 1280000); // 1280 s of four channels at 256 Hz
    EXPECT_EQ(ctrl.recording().currentMontage.numLines, 0);
    EXPECT_EQ(ctrl.recording().pageBuffer.size(), 1310720u);
    EXPECT_TRUE(ctrl.isModified());

    // A missing path leaves the open recording in place.
    EXPECT_EQ(ctrl.FileName(path(dir, "missing.vwr")), -1);
    EXPECT_EQ(ctrl.GetSurName(), "Bianchi");
    EXPECT_FALSE(ctrl.recording().fileInvalid);

    // A file that is not accepted leaves no recording and marks the file invalid.
    EXPECT_EQ(ctrl.FileName(path(dir, "bad.vwr")), -1);
    EXPECT_EQ(ctrl.GetSurName(), "");
    EXPECT_EQ(ctrl.totalTrcSec(), 0);
    EXPECT_TRUE(ctrl.recording().fileInvalid);

    ASSERT_EQ(ctrl.FileName(path(dir, "good.vwr")), 0);
    EXPECT_FALSE(ctrl.recording().fileInvalid);
}

TEST(ViewerFileName, BirthDateIsTheLocaleShortDateWithTheCentury) {
    TempDir dir;
    writeRecording(dir.file("good.vwr"), smallRecording());
    CViewerCtrl ctrl;
    // With no file the stored fields (all zero) are formatted, and they are no date.
    EXPECT_EQ(ctrl.GetBirthDate(), "Invalid date");

    ASSERT_EQ(ctrl.FileName(path(dir, "good.vwr")), 0);
    const QString text = ctrl.GetBirthDate();
    EXPECT_TRUE(text.contains("1984")) << text.toStdString();
    EXPECT_TRUE(text.contains("29")) << text.toStdString();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(ctrl.GetBirthDate(), "29.02.1984");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(ctrl.GetBirthDate(), "2/29/1984");
    QLocale::setDefault(QLocale::system());

    RecordingDescription d = smallRecording();
    d.birthYear = 85; // 1985 had no 29 February
    writeRecording(dir.file("nodate.vwr"), d);
    ASSERT_EQ(ctrl.FileName(path(dir, "nodate.vwr")), 0);
    EXPECT_EQ(ctrl.GetBirthDate(), "Invalid date");
}

TEST(ViewerFileName, QueriesWithoutAFileGiveNeutralAnswers) {
    CViewerCtrl ctrl;
    ctrl.resize(1000, 600);
    int32_t videoFileNum = 7;
    EXPECT_EQ(ctrl.GetSurName(), "");
    EXPECT_EQ(ctrl.GetName(), "");
    EXPECT_EQ(ctrl.GetExamDate(), "");
    EXPECT_EQ(ctrl.GetDateTimeFromSeconds(5), 0.0);
    EXPECT_EQ(ctrl.GetMont(5), 0);
    EXPECT_EQ(ctrl.GetTime(5.5f), 0);
    EXPECT_EQ(ctrl.totalTrcSec(), 0);
    EXPECT_EQ(ctrl.GetPosNote(0), 0.0f);
    EXPECT_FALSE(ctrl.ThereIsVideo());
    EXPECT_EQ(ctrl.GetVideoOneSfasFrame(), 0);
    EXPECT_EQ(ctrl.GetSfasVideo(1000, &videoFileNum), -1);
    EXPECT_EQ(videoFileNum, -1);
    EXPECT_EQ(ctrl.GetNextFileVideoStart(1), -1.0f);
    EXPECT_EQ(ctrl.GetNumArchivedMontage(), 0);
    EXPECT_EQ(ctrl.GetArchivedMontName(0), "");
    EXPECT_FALSE(ctrl.DrawPage(0));
    // The pixel position is computed from the page length in force, file or not.
    EXPECT_EQ(ctrl.GetPixelPosition(0), ctrl.GetMaxLarghEtichette());
    EXPECT_EQ(ctrl.GetPixelPosition(10000), 1000);
    EXPECT_EQ(ctrl.GetPixelPosition(10001), -1);
}

} // namespace
} // namespace viewer::testing
