// The program's start-up: title, command line, control properties, settings read at start.

#include "program_fixture.h"

#include <QAction>
#include <QComboBox>

namespace viewer::testing {
namespace {

const QString kVersion = QStringLiteral("    (Ver. 1.00.000)");

TEST(VersionText, IsBuiltFromTheVersionNumbers) {
    EXPECT_EQ(frmView::buildVersionText(1, 0, 29), "    (Ver. 1.00.029)");
    EXPECT_EQ(frmView::buildVersionText(2, 15, 7), "    (Ver. 2.15.007)");
    EXPECT_EQ(frmView::buildVersionText(1, 0, 0), kVersion);
}

TEST_F(ProgramTest, WithoutArgumentTheWindowOpensEmptyWithTheControlSetUp) {
    ASSERT_NO_THROW(start());
    frmView& w = window();
    EXPECT_EQ(w.windowTitle(), kVersion);
    EXPECT_EQ(w.versionText(), kVersion);
    EXPECT_FALSE(w.startedByLauncher());
    EXPECT_TRUE(w.traceFileName().isEmpty());
    EXPECT_EQ(w.numFileVideo, -1);
    EXPECT_EQ(w.posSec(), 0);

    EXPECT_EQ(trace().gridColor(), 0x808080);
    EXPECT_TRUE(trace().pathSettings().isEmpty());
    EXPECT_FALSE(trace().traceOverLabel());
    EXPECT_EQ(trace().gridType(), 2);
    EXPECT_EQ(trace().ViewMode(), 0);
    EXPECT_EQ(trace().BackColor(), 12648447u);
    EXPECT_EQ(trace().totalTrcSec(), 0);

    EXPECT_EQ(w.cmbGain()->count(), 25);
    EXPECT_EQ(w.cmbHighPass()->count(), 35);
    EXPECT_EQ(w.cmbLowPass()->count(), 33);
    EXPECT_EQ(w.cmbBaseTime()->count(), 40);
    EXPECT_EQ(w.cmbViewMode()->count(), 0);
    EXPECT_FALSE(button("video").isEnabled());
    EXPECT_TRUE(w.mnu50Hz()->isChecked());
    EXPECT_FALSE(w.mnu60Hz()->isChecked());
}

TEST_F(ProgramTest, AOneCharacterArgumentCountsAsNone) {
    ASSERT_NO_THROW(start(QStringLiteral("x")));
    EXPECT_FALSE(window().startedByLauncher());
    EXPECT_EQ(window().windowTitle(), kVersion);
}

TEST_F(ProgramTest, AQuotedPathIsHandedOnWithItsQuotesAndTheLauncherIsStillClosed) {
    const QString path = write("rec.vwr", programRecording(30));
    // No display here, so the launcher's window cannot be found: the close was attempted.
    try {
        start(QLatin1Char('"') + path + QLatin1Char('"'));
        ADD_FAILURE() << "the launcher window was not looked for";
    } catch (const ViewerError& e) {
        EXPECT_EQ(e.number(), 1);
        EXPECT_EQ(e.description(), "Can't find application to close");
    }
    EXPECT_TRUE(window().startedByLauncher());
    // The control refused the quoted path: nothing was opened.
    EXPECT_EQ(trace().totalTrcSec(), 0);
    EXPECT_TRUE(window().traceFileName().isEmpty());
    EXPECT_EQ(window().windowTitle(), kVersion);
}

TEST_F(ProgramTest, APathOnTheCommandLineIsOpenedBeforeTheLauncherIsClosed) {
    const QString path = write("rec with blanks.vwr", programRecording(30));
    EXPECT_THROW(start(path), ViewerError);
    EXPECT_EQ(window().traceFileName(), path);
    EXPECT_EQ(trace().totalTrcSec(), 30);
    EXPECT_EQ(window().windowTitle(),
              "ROSSI MARIO " + trace().GetBirthDate() + "    " + path + kVersion);
}

TEST_F(ProgramTest, TheTitleKeepsTheVersionAloneWhenPatientNamesAreNotShown) {
    setSetting("viewPatientName", "False");
    open(programRecording(30));
    EXPECT_EQ(trace().totalTrcSec(), 30);
    EXPECT_EQ(window().windowTitle(), kVersion);
}

TEST_F(ProgramTest, StoredNotchFrequencyAndBackgroundAreApplied) {
    setSetting("FrequenzaNotch", "60");
    setSetting("BackColor", "255");
    start();
    EXPECT_EQ(window().frequenzaNotch(), 60);
    EXPECT_FALSE(window().mnu50Hz()->isChecked());
    EXPECT_TRUE(window().mnu60Hz()->isChecked());
    EXPECT_EQ(trace().BackColor(), 255u);
}

TEST_F(ProgramTest, StoredSettingsThatAreNotNumbersTakeTheirDefaults) {
    setSetting("FrequenzaNotch", "sixty");
    setSetting("BackColor", "yellow");
    setSetting("ViewWidth", "wide");
    setSetting("ViewHeight", "");
    setSetting("ViewLeft", "1500");
    setSetting("viewPatientName", "perhaps");
    open(programRecording(30));
    EXPECT_EQ(window().frequenzaNotch(), 50);
    EXPECT_EQ(trace().BackColor(), 12648447u);
    // 10000 x 7000 twips at 15 twips per pixel; the readable left edge is kept.
    EXPECT_EQ(window().size(), QSize(667, 467));
    EXPECT_EQ(window().x(), 100);
    EXPECT_TRUE(window().windowTitle().startsWith("ROSSI MARIO"));
}

TEST_F(ProgramTest, ANotchFrequencyOtherThanFiftyCountsAsSixtyEverywhere) {
    setSetting("FrequenzaNotch", "55");
    open(programRecording(30));
    EXPECT_EQ(window().frequenzaNotch(), 60);
    EXPECT_TRUE(window().mnu60Hz()->isChecked());
    EXPECT_FALSE(window().mnu50Hz()->isChecked());
    // The notch button agrees with the check mark: it turns on the 60 Hz notch.
    click("notch");
    EXPECT_TRUE(button("notch").isChecked());
    EXPECT_EQ(trace().recording().currentMontage.notch, 2);
}

} // namespace
} // namespace viewer::testing
