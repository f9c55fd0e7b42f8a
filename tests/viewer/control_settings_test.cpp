// The display settings against the trace control's own answers: what each list hands to it,
// the all-lines montage of a recording without history, and the gain keys.

#include "program_fixture.h"

#include <QApplication>
#include <QTest>

namespace viewer::testing {
namespace {

void choose(QComboBox* list, const QString& text) {
    const int index = list->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

const QString kMicro = QString(QChar(0x00B5));

TEST_F(ProgramTest, WithoutHistoryTheRecordingShowsAllLinesAtTwoHundredMicrovolts) {
    open(montageRecording(60, false));
    frmView& w = window();
    EXPECT_EQ(texts(w.cmbViewMode()),
              (std::vector<QString>{"All lines recorded", " 1-Longitudinal", " 2-Referential"}));
    EXPECT_EQ(values(w.cmbViewMode()), (std::vector<int>{101, 0, 1}));
    EXPECT_FALSE(trace().gratis());
    EXPECT_EQ(trace().numMont(), 32);
    EXPECT_EQ(trace().GetGainEEG(), 200);
    EXPECT_EQ(w.cmbGain()->currentText(), "0200 " + kMicro + "V/cm");
    EXPECT_GT(draws, 0);
}

TEST_F(ProgramTest, ARecordingWithoutArchivedMontagesOffersAllLinesOnly) {
    open(programRecording(30));
    EXPECT_EQ(texts(window().cmbViewMode()), std::vector<QString>{"All lines recorded"});
    EXPECT_EQ(trace().numMont(), 30);
}

TEST_F(ProgramTest, AsRecordedFollowsTheHistoryMontage) {
    open(montageRecording(60, true));
    EXPECT_TRUE(trace().gratis());
    EXPECT_EQ(trace().recording().currentMontage.numLines, 2);
    // The lists show the history montage's own settings.
    EXPECT_EQ(window().cmbGain()->currentText(), "0100 " + kMicro + "V/cm");
    EXPECT_EQ(window().cmbHighPass()->currentData().toInt(), 530);
    EXPECT_EQ(window().cmbLowPass()->currentData().toInt(), 7000);
    EXPECT_TRUE(window().pageDrawn());
}

TEST_F(ProgramTest, EachListHandsItsValueToTheControlAndDrawsThePage) {
    open(montageRecording(60, false));
    frmView& w = window();
    scroll().setValue(20);

    int before = draws;
    choose(w.cmbGain(), "0500 " + kMicro + "V/cm");
    EXPECT_EQ(trace().GetGainEEG(), 500);
    EXPECT_EQ(draws, before + 1);

    before = draws;
    choose(w.cmbHighPass(), DisplayTables::highPassText(1600));
    EXPECT_EQ(trace().GetHighFilterEEG(), 1600);
    EXPECT_EQ(draws, before + 1);

    choose(w.cmbHighPass(), DisplayTables::highPassText(0));
    EXPECT_EQ(trace().GetHighFilterEEG(), 0);

    before = draws;
    choose(w.cmbLowPass(), "0175 Hz");
    EXPECT_EQ(trace().GetLowFilterEEG(), 17500);
    EXPECT_EQ(draws, before + 1);

    choose(w.cmbBaseTime(), "20 sec");
    EXPECT_EQ(trace().secNumber(), 20.0f);
    EXPECT_EQ(scroll().largeChange(), 20.0);
    EXPECT_EQ(scroll().max(), 60);
    EXPECT_EQ(w.posSec(), 20);
    EXPECT_EQ(trace().recording().pageStart, 20 * 256);

    // An archived montage keeps the page position and shows its own settings.
    choose(w.cmbViewMode(), " 1-Longitudinal");
    EXPECT_EQ(trace().numMont(), 30);
    EXPECT_EQ(trace().GetGainEEG(), 100);
    EXPECT_EQ(w.cmbGain()->currentText(), "0100 " + kMicro + "V/cm");
    EXPECT_EQ(trace().recording().pageStart, 20 * 256);
}

TEST_F(ProgramTest, AHalfSecondPageLengthRoundsToTheEvenSecond) {
    open(montageRecording(60, false));
    trace().SetSecNumber(12.5f);
    emit trace().CambiatoMontaggio();
    EXPECT_EQ(window().cmbBaseTime()->currentText(), "12 sec");
    EXPECT_EQ(trace().secNumber(), 12.0f);
}

class GainKeysTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        open(montageRecording(60, false));
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        scroll().setFocus();
    }
    void press(char key) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClicks(focus, QString(QLatin1Char(key)));
    }
};

TEST_F(GainKeysTest, PlusAndMinusStepTheGainWhicheverElementHasTheFocus) {
    EXPECT_EQ(trace().GetGainEEG(), 200);
    press('+');
    EXPECT_EQ(trace().GetGainEEG(), 150);
    EXPECT_EQ(window().cmbGain()->currentText(), "0150 " + kMicro + "V/cm");
    press('-');
    press('-');
    EXPECT_EQ(trace().GetGainEEG(), 400);

    // With a list holding the focus the keys still step the gain.
    window().cmbLowPass()->setFocus();
    press('+');
    EXPECT_EQ(trace().GetGainEEG(), 200);
    press('x');
    EXPECT_EQ(trace().GetGainEEG(), 200);
    EXPECT_EQ(beeps, 0);
}

TEST_F(GainKeysTest, AtEitherEndTheKeyBeepsChangesNoGainAndStillRedraws) {
    window().ImpostaComboGain(1);
    ASSERT_EQ(trace().GetGainEEG(), 1);
    int before = draws;
    press('+');
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(trace().GetGainEEG(), 1);
    EXPECT_GT(draws, before);
    EXPECT_EQ(window().cmbGain()->currentText(), "0001 " + kMicro + "V/cm");

    window().ImpostaComboGain(1000000);
    before = draws;
    press('-');
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(trace().GetGainEEG(), 1000000);
    EXPECT_GT(draws, before);
    EXPECT_EQ(window().cmbGain()->currentText(), "1000 mV/cm");
}

} // namespace
} // namespace viewer::testing
