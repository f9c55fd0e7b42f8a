// The scroll bar's saved form: defaults left out, everything else read back as written.

#include "MyScrollBar.h"
#include "scrollbar_events.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

// Gives every property a value other than its default.
void changeEverything(MyScrollBar& bar) {
    bar.resize(400, 20); // realWidth 300 twips at 96 dots per inch
    bar.show();
    bar.setEnabledFlag(true);
    bar.setSmallChange(2);
    bar.setMin(5);
    bar.setMax(600);
    bar.setChangeType(4);
    bar.setTimeUnit(7);
    bar.setLargeChange(0.25);
    bar.setValue(12.75);
    bar.setScrollingChangeEvent(false);
}

void expectSameProperties(const MyScrollBar& a, const MyScrollBar& b) {
    EXPECT_EQ(a.Enabled(), b.Enabled());
    EXPECT_EQ(a.smallChange(), b.smallChange());
    EXPECT_EQ(a.min(), b.min());
    EXPECT_EQ(a.max(), b.max());
    EXPECT_EQ(a.realWidth(), b.realWidth());
    EXPECT_EQ(a.ChangeType(), b.ChangeType());
    EXPECT_EQ(a.timeUnit().toInt(), b.timeUnit().toInt());
    EXPECT_EQ(a.Value(), b.Value());
    EXPECT_EQ(a.largeChange(), b.largeChange());
    EXPECT_EQ(a.scrollingChangeEvent(), b.scrollingChangeEvent());
}

TEST(ScrollBarForm, OnlyPropertiesOffTheirDefaultAreWritten) {
    MyScrollBar fresh;
    EXPECT_TRUE(fresh.saveProperties().isEmpty());

    // The main window's bar: only the width of its buttons differs.
    MyScrollBar hscroll1;
    hscroll1.resize(600, 21);
    hscroll1.show();
    const QVariantMap form = hscroll1.saveProperties();
    EXPECT_EQ(form, (QVariantMap{{QStringLiteral("realWidth"), 315}}));

    MyScrollBar changed;
    changeEverything(changed);
    EXPECT_EQ(changed.saveProperties().keys(),
              (QStringList{"ChangeType", "Enabled", "Value", "largeChange", "max", "min",
                           "realWidth", "scrollingChangeEvent", "smallChange", "timeUnit"}));
}

TEST(ScrollBarForm, LoadReadsBackWhatWasSavedWithoutEvents) {
    MyScrollBar original;
    changeEverything(original);
    MyScrollBar copy;
    ScrollBarEvents events(copy);
    copy.loadProperties(original.saveProperties());
    expectSameProperties(original, copy);
    EXPECT_EQ(copy.Value(), 12.75);
    EXPECT_EQ(events.changes(), 0u);
    EXPECT_FALSE(copy.isModified());

    // Names missing from the form take their defaults again.
    copy.loadProperties(QVariantMap());
    expectSameProperties(MyScrollBar(), copy);
}

TEST(ScrollBarForm, StoredValuesOutsideTheRulesReadAsTheRulesSay) {
    MyScrollBar bar;
    bar.loadProperties({{QStringLiteral("Value"), -4.5},
                        {QStringLiteral("largeChange"), 0.0},
                        {QStringLiteral("max"), QStringLiteral("many")},
                        {QStringLiteral("ChangeType"), 70000}});
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_EQ(bar.largeChange(), 1);
    EXPECT_EQ(bar.max(), 100) << "an unreadable value takes the default";
    EXPECT_EQ(bar.ChangeType(), 0) << "a value beyond 16 bits takes the default";
    EXPECT_TRUE(bar.saveProperties().isEmpty());
}

TEST(ScrollBarForm, RoundTripThroughASettingsGroup) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("form.ini"));
    MyScrollBar original;
    changeEverything(original);
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.beginGroup(QStringLiteral("hscroll1"));
        original.saveProperties(settings);
    }
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("hscroll1"));
    MyScrollBar copy;
    copy.loadProperties(settings);
    expectSameProperties(original, copy);

    // A property back at its default leaves no stale entry behind.
    copy.setMax(100);
    copy.saveProperties(settings);
    EXPECT_FALSE(settings.contains(QStringLiteral("max")));
    EXPECT_TRUE(settings.contains(QStringLiteral("min")));
}

} // namespace
} // namespace viewer::testing
