// Montages of one's own made in the main window: the montage editor showing each change on
// the page and keeping files, montage files imported, the screen calibration and time bases.

#include "CalibrationDialog.h"
#include "CalibrationTools.h"
#include "MontageEditor.h"
#include "MontageFolder.h"
#include "MontageLinesView.h"
#include "MontageList.h"
#include "MontageTools.h"
#include "montage_files.h"
#include "viewer_fixture.h"

#include <QDir>
#include <QFile>

namespace viewer::testing {
namespace {

class OwnMontages : public ProgramTest {
protected:
    QString folder() const { return QString::fromStdString(settingsDir.file("Viewer/montages")); }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    QString put(const QString& name, const QByteArray& text) {
        const QString path = QString::fromStdString(recordings.file(name.toStdString()));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    // Types `text` into a cell of line `row`, as the editor's delegate hands it over.
    static void type(MontageEditor& e, int row, int column, const QString& text) {
        e.lines().topLevelItem(row)->setText(column, text);
    }
};

TEST_F(OwnMontages, TheEditorShowsEachChangeAndKeepsItsFiles) {
    open(montageRecording(60, false));
    MontageEditor editor(trace(), window().montages(), &window());
    editor.addMontage(window().montages().standard()[0]); // "Double banana"
    EXPECT_EQ(trace().ownMontageName(), "Double banana") << "shown as it is edited";
    type(editor, 0, MontageLinesView::Derivation, "Fp1 - 0.5 F3 - 0.5 Fp2");
    EXPECT_EQ(trace().lineLabel(0), "Fp1-0.5 F3-0.5 Fp2") << "a label made from the terms follows";
    type(editor, 0, MontageLinesView::Gain, "fast");
    EXPECT_TRUE(editor.message().startsWith("Gain µV/cm: a gain from 1"))
        << editor.message().toStdString();
    EXPECT_EQ(editor.lines().topLevelItem(0)->text(MontageLinesView::Gain), "page");
    type(editor, 0, MontageLinesView::Gain, "150");
    EXPECT_EQ(editor.current()->lines[0].gainUvPerCm, 150);
    editor.lines().topLevelItem(1)->setCheckState(MontageLinesView::Hidden, Qt::Checked);
    EXPECT_EQ(trace().lineCount(), 17);
    editor.lines().setCurrentItem(editor.lines().topLevelItem(0));
    editor.lines().moveLine(2);
    EXPECT_EQ(editor.current()->lines[2].label, "Fp1-0.5 F3-0.5 Fp2");
    EXPECT_EQ(trace().lineLabel(1), "Fp1-0.5 F3-0.5 Fp2") << "the hidden line is not drawn";

    ASSERT_TRUE(editor.save());
    EXPECT_EQ(files(), QStringList{"Double banana.json"});
    MontageDefinition read;
    QString error;
    ASSERT_TRUE(readMontageFile(folder() + "/Double banana.json", read, error));
    EXPECT_EQ(read, *editor.current());
    EXPECT_FALSE(editor.rename(" "));
    EXPECT_EQ(editor.message(), "A montage needs a name.");
    ASSERT_TRUE(editor.rename("Banana"));
    type(editor, 0, MontageLinesView::Derivation, "Fp1 - F3 +");
    EXPECT_TRUE(editor.message().startsWith("Derivation: an electrode name expected"));
    type(editor, 0, MontageLinesView::Notch, "60 Hz");
    editor.revert();
    EXPECT_EQ(*editor.current(), read) << "back as the file holds it";
    ASSERT_TRUE(editor.rename("Banana"));
    editor.done(QDialog::Accepted);
    EXPECT_EQ(files(), QStringList{"Banana.json"}) << "a renamed montage leaves no old file";
    EXPECT_EQ(trace().ownMontageName(), "Banana") << "OK shows the montage edited";
    EXPECT_EQ(window().cmbViewMode()->currentText(), " Banana");
}

TEST_F(OwnMontages, CancelDropsWhatWasNotSavedAndShowsThePageAsItWas) {
    open(montageRecording(60, false));
    window().montages().select(1); // archived montage 0
    const int16_t before = trace().numMont();
    {
        MontageEditor editor(trace(), window().montages(), &window());
        editor.addMontage(window().montages().standard()[2]);
        EXPECT_EQ(trace().ownMontageName(), "Common average");
        editor.done(QDialog::Rejected);
    }
    EXPECT_TRUE(trace().ownMontageName().isEmpty());
    EXPECT_EQ(trace().numMont(), before);
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(OwnMontages, ImportTakesJsonAndMtgFilesUnderFreeNamesAndNamesWhatItSkips) {
    open(montageRecording(60, false));
    MontageTools tools(window(), trace(), window().montages());
    const QByteArray mine =
        R"({"name": "Mine", "lines": [{"label": "Fp1", "terms": [{"electrode": "Fp1", "weight": 1}]}]})";
    const QStringList paths = {
        put("mine.json", mine), put("again.json", mine), put("broken.json", "{\"name\":"),
        put("theirs.mtg", "<?xml version=\"1.0\"?><EDFbrowser_montage><signalcomposition>"
                          "<num_of_signals>1</num_of_signals><signal><label>F3</label><factor>1"
                          "</factor></signal><screen_offset>5</screen_offset></signalcomposition>"
                          "</EDFbrowser_montage>"),
        put("odd.mtg", "not xml")};
    const QString said = tools.importFiles(paths);
    EXPECT_EQ(said.split('\n'),
              QStringList({"mine.json: imported as \"Mine\" (1 lines)",
                           "again.json: imported as \"Mine (2)\" (1 lines)",
                           "broken.json: skipped, not JSON (unterminated object at byte 8)",
                           "theirs.mtg: imported as \"theirs\" (1 lines)",
                           "    trace 1 (F3): offset 5 from the baseline not mapped",
                           "odd.mtg: skipped, not XML (Start tag expected., line 1)"}))
        << said.toStdString();
    EXPECT_EQ(files(), QStringList({"Mine (2).json", "Mine.json", "theirs.json"}));
    EXPECT_EQ(window().cmbViewMode()->findText(" theirs") > 0, true) << "listed at once";
    QString error;
    const QString out = QString::fromStdString(recordings.file("out.json"));
    ASSERT_TRUE(MontageTools::exportMontage(window().montages().standard()[1], out, error));
    EXPECT_FALSE(MontageTools::exportMontage(window().montages().standard()[1], paths[2], error))
        << "a file that is not a montage is not written over";
}

// A 10 cm bar measured with a ruler on a screen of 38 pixels per cm: once its length is
// entered, the next bar drawn 10 cm long measures 10 cm, and gains and mm/s hold there.
TEST_F(OwnMontages, ACalibratedScreenDrawsTrueCentimetresAndTimeBases) {
    constexpr double kTrue = 38.0;
    open(montageRecording(60, false));
    trace().setVerticalResolution(1080);
    const auto measuredMm = [&](int pixels) { return pixels / kTrue * 10.0; };
    CalibrationDialog first(trace().pixelsPerCentimetre(), 4000);
    EXPECT_EQ(first.barPixels(), 540) << "10 cm of a 200 mm tall 1080-line display";
    first.setMeasuredMm(measuredMm(first.barPixels()));
    window().calibration().applyCalibration(first.measuredPixelsPerCm());
    CalibrationDialog after(trace().pixelsPerCentimetre(), 4000);
    EXPECT_NEAR(measuredMm(after.barPixels()), 100.0, 0.5);
    EXPECT_NEAR(trace().pixelsPerCentimetre(), kTrue, 0.1);
    EXPECT_TRUE(store().childGroups().contains("ScreenCalibration"));

    window().resize(1400, 900);
    QComboBox& lengths = *window().cmbBaseTime();
    ASSERT_EQ(lengths.itemText(41), "30 mm/s");
    lengths.setCurrentIndex(41);
    emit lengths.activated(41);
    const double traceMm =
        (trace().clientSize().width() - trace().GetMaxLarghEtichette()) / kTrue * 10.0;
    EXPECT_NEAR(trace().secNumber() * 30.0, traceMm, 0.5);
    EXPECT_TRUE(window().calibration().readoutText().endsWith("µV/mm, 30.0 mm/s"))
        << window().calibration().readoutText().toStdString();
    window().montages().select(2); // another montage: the time base stays
    EXPECT_EQ(lengths.currentIndex(), 41);

    closeWindow();
    open(montageRecording(60, false));
    EXPECT_NEAR(trace().pixelsPerCentimetre(), kTrue, 0.1) << "kept for this screen";
    window().calibration().applyCalibration(0.0);
    EXPECT_FALSE(trace().calibrated());
    EXPECT_TRUE(window().calibration().readoutText().endsWith("(screen not calibrated)"));
}

} // namespace
} // namespace viewer::testing
