// The display-setting lists, the montage choice, the notch and the background colour.

#include "DisplayTables.h"
#include "program_fixture.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace viewer::testing {
namespace {

// What the list does when the user picks entry `index`.
void choose(QComboBox* list, int index) {
    list->setCurrentIndex(index);
    emit list->activated(index);
}

TEST(DisplayTables, TextsOfTheGainList) {
    EXPECT_EQ(DisplayTables::gainText(1), QString::fromUtf8("0001 \u00B5V/cm"));
    EXPECT_EQ(DisplayTables::gainText(1), QStringLiteral("0001 ") + QChar(0x00B5) + "V/cm");
    EXPECT_EQ(DisplayTables::gainText(1600), QString::fromUtf8("1600 \u00B5V/cm"));
    EXPECT_EQ(DisplayTables::gainText(5000), "0005 mV/cm");
    EXPECT_EQ(DisplayTables::gainText(200000), "0200 mV/cm");
    EXPECT_EQ(DisplayTables::gainText(1000000), "1000 mV/cm");
}

TEST(DisplayTables, TextsOfTheFilterAndPageLists) {
    const QLocale c = QLocale::c();
    EXPECT_EQ(DisplayTables::highPassText(0, c), "00.008 Hz");
    EXPECT_EQ(DisplayTables::highPassText(16, c), "00.016 Hz");
    EXPECT_EQ(DisplayTables::highPassText(530, c), "00.530 Hz");
    EXPECT_EQ(DisplayTables::highPassText(53000, c), "53.000 Hz");
    EXPECT_EQ(DisplayTables::highPassText(5300, QLocale(QLocale::Italian)), "05,300 Hz");
    EXPECT_EQ(DisplayTables::lowPassText(100), "0001 Hz");
    EXPECT_EQ(DisplayTables::lowPassText(17500), "0175 Hz");
    EXPECT_EQ(DisplayTables::lowPassText(100000), "1000 Hz");
    EXPECT_EQ(DisplayTables::baseTimeText(0), "01 sec");
    EXPECT_EQ(DisplayTables::baseTimeText(39), "40 sec");
}

TEST_F(ProgramTest, ListsHoldTheirTextsAndValuesInOrder) {
    start();
    frmView& w = window();
    const std::vector<int> gains = values(w.cmbGain());
    EXPECT_EQ(gains,
              std::vector<int>(DisplayTables::kGains.begin(), DisplayTables::kGains.end() - 1));
    EXPECT_EQ(gains.front(), 1);
    EXPECT_EQ(gains.back(), 1000000);
    EXPECT_EQ(w.gainTable().back(), -1);
    EXPECT_EQ(texts(w.cmbGain())[15], "0005 mV/cm");

    EXPECT_EQ(values(w.cmbHighPass()).front(), 0);
    EXPECT_EQ(texts(w.cmbHighPass()).front(), DisplayTables::highPassText(0));
    EXPECT_EQ(values(w.cmbHighPass())[7], 530);
    EXPECT_EQ(values(w.cmbHighPass()).back(), 53000);

    EXPECT_EQ(values(w.cmbLowPass())[19], 17500);
    EXPECT_EQ(texts(w.cmbLowPass())[19], "0175 Hz");

    EXPECT_EQ(texts(w.cmbBaseTime())[11], "12 sec");
    EXPECT_EQ(values(w.cmbBaseTime())[11], 12);
    // Before a recording is open no value is shown.
    EXPECT_EQ(w.cmbGain()->currentIndex(), -1);
}

TEST_F(ProgramTest, ViewModeListOfARecordingWithHistoryAndArchivedMontages) {
    open(montageRecording(60, true));
    frmView& w = window();
    EXPECT_EQ(texts(w.cmbViewMode()), (std::vector<QString>{"As recorded", "All lines recorded",
                                                            " 1-Longitudinal", " 2-Referential"}));
    EXPECT_EQ(values(w.cmbViewMode()), (std::vector<int>{100, 101, 0, 1}));
    EXPECT_EQ(w.cmbViewMode()->currentIndex(), 0);
    EXPECT_TRUE(trace().gratis());
}

TEST_F(ProgramTest, ViewModeChoicesSetTheControlsMontage) {
    open(montageRecording(60, true));
    frmView& w = window();

    choose(w.cmbViewMode(), 3); // " 2-Referential", archived montage 1
    EXPECT_FALSE(trace().gratis());
    EXPECT_EQ(trace().numMont(), 31);

    choose(w.cmbViewMode(), 1); // "All lines recorded": past the two archived montages
    EXPECT_FALSE(trace().gratis());
    EXPECT_EQ(trace().numMont(), 32);
    EXPECT_EQ(w.cmbGain()->currentText(), QString::fromUtf8("0200 \u00B5V/cm"));

    choose(w.cmbViewMode(), 0); // "As recorded"
    EXPECT_TRUE(trace().gratis());
}

TEST_F(ProgramTest, BaseTimePickerSelectsOnlyLengthsItOffers) {
    open(montageRecording(60, true));
    frmView& w = window();
    w.ImpostaComboBaseTime(12);
    EXPECT_EQ(w.cmbBaseTime()->currentText(), "12 sec");
    w.ImpostaComboBaseTime(0);
    w.ImpostaComboBaseTime(41);
    EXPECT_EQ(w.cmbBaseTime()->currentText(), "12 sec");
    // A gain without an entry leaves the shown one.
    w.ImpostaComboGain(200);
    w.ImpostaComboGain(300);
    EXPECT_EQ(w.cmbGain()->currentText(), QString::fromUtf8("0200 \u00B5V/cm"));
}

TEST_F(ProgramTest, NotchButtonAndFrequencyMenu) {
    open(programRecording(60));
    frmView& w = window();
    const auto notch = [this] { return trace().recording().currentMontage.notch; };

    click("notch");
    EXPECT_TRUE(button("notch").isChecked());
    EXPECT_EQ(notch(), 1);

    // Choosing 60 Hz stores it but leaves the running filter alone.
    w.mnu60Hz()->trigger();
    EXPECT_TRUE(w.mnu60Hz()->isChecked());
    EXPECT_FALSE(w.mnu50Hz()->isChecked());
    EXPECT_EQ(w.frequenzaNotch(), 60);
    EXPECT_EQ(setting("FrequenzaNotch").toString(), "60");
    EXPECT_EQ(notch(), 1);

    click("notch");
    EXPECT_FALSE(button("notch").isChecked());
    EXPECT_EQ(notch(), 0);
    click("notch");
    EXPECT_EQ(notch(), 2);

    w.mnu50Hz()->trigger();
    EXPECT_TRUE(w.mnu50Hz()->isChecked());
    EXPECT_FALSE(w.mnu60Hz()->isChecked());
    EXPECT_EQ(setting("FrequenzaNotch").toString(), "50");
    w.mnu50Hz()->trigger();
    EXPECT_TRUE(w.mnu50Hz()->isChecked()) << "choosing the checked item keeps it checked";
}

TEST_F(ProgramTest, AMontageChangeBringsTheListsInLineWithoutRunningTheNotchAction) {
    open(montageRecording(60, true));
    trace().SetNotchFilter(2);
    emit trace().CambiatoMontaggio();
    EXPECT_TRUE(button("notch").isChecked());
    EXPECT_EQ(trace().recording().currentMontage.notch, 2);
    EXPECT_EQ(window().cmbBaseTime()->currentText(), "10 sec");

    trace().SetNotchFilter(0);
    emit trace().CambiatoMontaggio();
    EXPECT_FALSE(button("notch").isChecked());
}

TEST_F(ProgramTest, BackgroundColourIsChosenStoredAndCancelChangesNothing) {
    start();
    QColorDialog* dialog = window().CommonDialogColor();
    QTimer::singleShot(0, dialog, [dialog] {
        dialog->setCurrentColor(QColor(10, 20, 30));
        dialog->accept();
    });
    window().mnuBackColor()->trigger();
    EXPECT_EQ(trace().BackColor(), 0x1E140Au);
    EXPECT_EQ(setting("BackColor").toString(), QString::number(0x1E140A));

    QTimer::singleShot(0, dialog, [dialog] {
        dialog->setCurrentColor(QColor(200, 200, 200));
        dialog->reject();
    });
    window().mnuBackColor()->trigger();
    EXPECT_EQ(trace().BackColor(), 0x1E140Au);
    EXPECT_EQ(setting("BackColor").toString(), QString::number(0x1E140A));
    EXPECT_EQ(dialog->currentColor(), QColor(200, 200, 200)) << "the dialog keeps what it held";
}

TEST_F(ProgramTest, FileOpenHidesTheNoteLabelsAndOpensTheChosenFile) {
    start();
    const QString path = write("chosen.vwr", montageRecording(45, true));
    emit trace().NoteNotification(0, 40, "Eyes closed");
    ASSERT_FALSE(window().lblNota(0)->isHidden());

    QFileDialog* dialog = window().CommonDialog1();
    EXPECT_EQ(dialog->nameFilters(),
              (QStringList{"Viewer EEG Trace File (*.vwr)", "All files (*.*)"}));
    QTimer::singleShot(0, dialog, [dialog] { dialog->reject(); });
    window().mnuOpen()->trigger();
    EXPECT_TRUE(window().lblNota(0)->isHidden());
    EXPECT_TRUE(window().traceFileName().isEmpty());

    QTimer::singleShot(0, dialog, [dialog, path] {
        // The user types the path into the file name box and confirms.
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        if (name == nullptr) {
            ADD_FAILURE() << "no file name box";
            dialog->reject();
            return;
        }
        name->setText(path);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog's own accept checks the file
    });
    window().mnuOpen()->trigger();
    EXPECT_EQ(window().traceFileName(), path);
    EXPECT_EQ(trace().totalTrcSec(), 45);
    EXPECT_EQ(window().cmbViewMode()->count(), 4);
}

} // namespace
} // namespace viewer::testing
