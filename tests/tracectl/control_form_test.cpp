// The control's saved form: version, defaults left out, round trip, reset.

#include "CViewerCtrl.h"
#include "temp_dir.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

TEST(ControlForm, DefaultsAreLeftOutAndTheVersionAlwaysWritten) {
    CViewerCtrl ctrl;
    const QVariantMap fresh = ctrl.saveProperties();
    EXPECT_EQ(fresh.size(), 1);
    EXPECT_EQ(fresh.value(QStringLiteral("_Version")).toString(), QStringLiteral("1.0"));

    ctrl.setNotchFreq(60);
    ctrl.setTraceOverLabel(false);
    ctrl.setFontSize(12);
    ctrl.setGridType(3); // not persistent
    const QVariantMap form = ctrl.saveProperties();
    EXPECT_EQ(form.size(), 4);
    EXPECT_EQ(form.value(QStringLiteral("notchFreq")).toInt(), 60);
    EXPECT_FALSE(form.value(QStringLiteral("traceOverLabel")).toBool());
    EXPECT_EQ(form.value(QStringLiteral("fontSize")).toInt(), 12);
}

TEST(ControlForm, LoadingRestoresSavedValuesAndDefaultsTheRest) {
    CViewerCtrl saved;
    saved.setNumMont(33);
    saved.setNotchFreq(60);
    saved.setFontSize(14);
    saved.setBackColor(0x00102030);
    CViewerCtrl loaded;
    loaded.setTraceOverLabel(false);
    loaded.loadProperties(saved.saveProperties());
    EXPECT_EQ(loaded.numMont(), 33);
    EXPECT_EQ(loaded.notchFreq(), 60);
    EXPECT_TRUE(loaded.traceOverLabel()); // absent from the form: its default
    EXPECT_EQ(loaded.fontSize(), 14);
    EXPECT_EQ(loaded.BackColor(), 0x00102030u);
    EXPECT_FALSE(loaded.isModified());

    // Values that do not fit take the default.
    loaded.loadProperties(QVariantMap{{QStringLiteral("numMont"), 70000},
                                      {QStringLiteral("fontSize"), QStringLiteral("big")}});
    EXPECT_EQ(loaded.numMont(), 0);
    EXPECT_EQ(loaded.fontSize(), 10);
}

TEST(ControlForm, RoundTripThroughSettingsAndReset) {
    TempDir dir;
    QSettings settings(QString::fromStdString(dir.file("form.ini")), QSettings::IniFormat);
    CViewerCtrl saved;
    saved.setNotchFreq(60);
    saved.setTraceOverLabel(false);
    saved.setBorderStyle(1);
    saved.saveProperties(settings);
    settings.sync();

    QSettings reread(QString::fromStdString(dir.file("form.ini")), QSettings::IniFormat);
    CViewerCtrl loaded;
    loaded.loadProperties(reread);
    EXPECT_EQ(loaded.notchFreq(), 60);
    EXPECT_FALSE(loaded.traceOverLabel());
    EXPECT_EQ(loaded.BorderStyle(), 1);
    EXPECT_EQ(loaded.fontSize(), 10);

    // Saving the defaults again removes what was stored.
    CViewerCtrl plain;
    plain.saveProperties(reread);
    EXPECT_FALSE(reread.contains(QStringLiteral("notchFreq")));
    EXPECT_TRUE(reread.contains(QStringLiteral("_Version")));

    loaded.setNumMont(31);
    loaded.setFontSize(30);
    loaded.resetProperties();
    EXPECT_EQ(loaded.numMont(), 0);
    EXPECT_EQ(loaded.notchFreq(), 50);
    EXPECT_TRUE(loaded.traceOverLabel());
    EXPECT_EQ(loaded.fontSize(), 10);
}

} // namespace
} // namespace viewer::testing
