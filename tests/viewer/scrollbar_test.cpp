// The time scroll bar: the positions it accepts, its saved form, its layout in twips and the
// mouse on its track, buttons and thumb.

#include "MyScrollBar.h"
#include "scroll_value.h"

#include <QApplication>
#include <QFrame>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace viewer::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// What a bar reports: each change with the Value and ChangeType seen then, and each tip.
struct Events {
    std::vector<double> values;
    std::vector<int16_t> types;
    std::vector<float> tips;
};
void record(MyScrollBar& bar, Events& e) {
    QObject::connect(&bar, &MyScrollBar::change, &bar, [b = &bar, p = &e] {
        p->values.push_back(b->Value());
        p->types.push_back(b->ChangeType());
    });
    QObject::connect(&bar, &MyScrollBar::ChangeToolTip, &bar,
                     [p = &e](float& v) { p->tips.push_back(v); });
}

TEST(ScrollBarValue, WritesAreClampedToTheLastFullPageAndSnappedToTheStep) {
    // A page below a thousandth, not positive or not a number counts as 1.
    const struct {
        int min, max;
        double page, written, read;
    } cases[] = {
        {0, 100, 10, 95, 90},       {0, 100, 10, -5, 0},         {0, 100, 10, 42.5, 42},
        {0, 100, 10, 43.5, 44},     {0, 100, 10, 43, 43},        {0, 100, 10, 89.5, 90},
        {0, 100, 10, 1e12, 90},     {0, 100, 10, 0.49, 0},       {20, 100, 10, 5, 20},
        {3, 100, 10, kNaN, 3},      {3, 100, 10, kInf, 3},       {3, 100, 10, -kInf, 3},
        {0, 100, 0.25, 3.1, 3.0},   {0, 100, 0.25, 3.2, 3.25},   {0, 100, 0.25, 3.125, 3.0},
        {0, 100, 0.25, 3.375, 3.5}, {0, 100, 0.25, 99.9, 99.75}, {0, 100, 0.25, -0.1, 0},
        {0, 5, 10, 3, 0},           {0, 5, 10, 100, 0},          {0, 0, 10, 7, 0},
        {0, 100, 1.5, 2, 2},        {0, 100, 0.0004, 99.6, 99},  {0, 100, 0, 12.4, 12},
        {0, 100, -3, 99.6, 99},     {0, 100, kNaN, 12.6, 13}};
    for (const auto& c : cases) {
        MyScrollBar bar;
        bar.setMax(c.max);
        bar.setMin(c.min);
        bar.setLargeChange(c.page);
        bar.setValue(c.written);
        EXPECT_EQ(bar.Value(), c.read)
            << c.min << ".." << c.max << " page " << c.page << " writing " << c.written;
    }
    EXPECT_EQ(scrollbar::truncateToThousandths(-1.2345), -1.234);
    EXPECT_EQ(scrollbar::truncateToThousandths(1e300), 1e300);
    EXPECT_EQ(scrollbar::acceptedValue(50, 0, 100, 1e308), 0);
    EXPECT_EQ(scrollbar::acceptedValue(50, INT32_MIN, INT32_MAX, 1), 50);
}

TEST(ScrollBarValue, ValueAndPageWritesReportTheStoredValueRangeWritesNothing) {
    MyScrollBar bar;
    Events events;
    record(bar, events);
    bar.setValue(42);
    bar.setValue(42);
    bar.setValue(150);
    bar.setMax(50); // range writes neither re-check the position nor report
    bar.setMin(120);
    EXPECT_EQ(bar.Value(), 99);
    bar.setMax(100);
    bar.setMin(0);
    bar.setValue(97);
    bar.setLargeChange(10.0009); // cut to thousandths, the position written once more
    EXPECT_EQ(bar.largeChange(), 10.0);
    bar.setLargeChange(2.9999);
    EXPECT_DOUBLE_EQ(bar.largeChange(), 2.999);
    EXPECT_EQ(events.values, (std::vector<double>{42, 42, 99, 97, 90, 90}));

    bar.setSmallChange(5); // plain properties only store and mark the form changed
    bar.setScrollingChangeEvent(false);
    EXPECT_TRUE(bar.isModified());
    EXPECT_EQ(events.values.size(), 6u);
}

TEST(ScrollBarForm, SavesOnlyWhatDiffersFromTheDefaultsAndReadsItBackWithoutEvents) {
    MyScrollBar original;
    original.resize(400, 20);
    original.show();
    original.setEnabledFlag(true);
    original.setSmallChange(2);
    original.setMin(5);
    original.setMax(600);
    original.setChangeType(4);
    original.setTimeUnit(7);
    original.setLargeChange(0.25);
    original.setValue(12.75);
    original.setScrollingChangeEvent(false);
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("form.ini")), QSettings::IniFormat);
    original.saveProperties(settings);
    EXPECT_EQ(settings.allKeys().size(), 10);

    MyScrollBar copy;
    Events events;
    record(copy, events);
    copy.loadProperties(settings);
    EXPECT_EQ(copy.saveProperties(), original.saveProperties());
    EXPECT_TRUE(events.values.empty());
    copy.setMax(100); // back at its default: no stale entry stays
    copy.saveProperties(settings);
    EXPECT_FALSE(settings.contains(QStringLiteral("max")));

    // Stored values outside the rules read as the rules say.
    MyScrollBar odd;
    odd.loadProperties({{QStringLiteral("Value"), -4.5},
                        {QStringLiteral("largeChange"), 0.0},
                        {QStringLiteral("max"), QStringLiteral("many")},
                        {QStringLiteral("ChangeType"), 70000}});
    EXPECT_TRUE(odd.saveProperties().isEmpty());
}

// A shown bar 800 x 21 pixels at 96 dots per inch: 15 twips per pixel, 21-pixel buttons, a
// track of 758 pixels (11370 twips) at pixel 21; range 0..100 with a page of 10, so the thumb
// is 1218 twips (81 pixels) wide and each unit is 112.8 twips (7.52 pixels).
class ShownScrollBar : public ::testing::Test {
protected:
    void SetUp() override {
        record(bar, events);
        bar.resize(800, 21);
        bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
        ASSERT_EQ(bar.twipsPerPixelX(), 15.0);
        bar.setMax(100);
        bar.setLargeChange(10);
        events = {};
    }
    QWidget* track() const { return bar.findChild<QWidget*>(QStringLiteral("Picture1")); }
    QFrame* thumb() const { return bar.findChild<QFrame*>(QStringLiteral("shape1")); }
    QPushButton* button(const char* name) const {
        return bar.findChild<QPushButton*>(QLatin1String(name));
    }
    // Mouse steps through the window at pixel x of the track: p, r, c press, release and click
    // the left button, P, R, C the right one, m moves; [ and ] click the end buttons; tx and
    // ex expect the thumb's left and right ends at x.
    void drive(const QString& steps) {
        for (const QString& step : steps.split(' ')) {
            const QPoint at(21 + step.mid(1).toInt(), 10);
            const Qt::MouseButton b = step[0].isUpper() ? Qt::RightButton : Qt::LeftButton;
            const char kind = step[0].toLower().toLatin1();
            if (kind == '[' || kind == ']') {
                const QPushButton* end = button(kind == '[' ? "btnLeft" : "btnRight");
                QTest::mouseClick(bar.windowHandle(), Qt::LeftButton, {},
                                  end->mapTo(&bar, end->rect().center()));
            } else if (kind == 't' || kind == 'e') {
                EXPECT_EQ(thumb()->x() + (kind == 'e' ? thumb()->width() : 0), at.x() - 21)
                    << step.toStdString();
            } else if (kind == 'm') {
                QTest::mouseMove(bar.windowHandle(), at);
            } else if (kind == 'p') {
                QTest::mousePress(bar.windowHandle(), b, {}, at);
            } else if (kind == 'r') {
                QTest::mouseRelease(bar.windowHandle(), b, {}, at);
            } else {
                QTest::mouseClick(bar.windowHandle(), b, {}, at);
            }
        }
    }

    MyScrollBar bar;
    Events events;
};

TEST_F(ShownScrollBar, LayoutFollowsSizeRangePageAndValue) {
    EXPECT_EQ(button("btnLeft")->geometry(), QRect(0, 0, 21, 21));
    EXPECT_EQ(track()->geometry(), QRect(21, 0, 758, 21));
    EXPECT_EQ(button("btnRight")->geometry(), QRect(779, 0, 21, 21));
    EXPECT_EQ(bar.realWidth(), 315);
    EXPECT_EQ(thumb()->geometry(), QRect(0, 0, 81, 21));
    bar.setValue(50);
    EXPECT_EQ(thumb()->geometry(), QRect(376, 0, 81, 21));
    bar.setValue(90);
    EXPECT_EQ(thumb()->x() + thumb()->width(), 758) << "the last page ends at the track's end";

    // The picture: the thumb light grey inside a dark grey edge on a lighter track.
    bar.setValue(50);
    const QImage shot = bar.grab().toImage();
    EXPECT_EQ(shot.pixel(21 + 376 + 40, 10), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(shot.pixel(21 + 376, 0), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(shot.pixel(21 + 100, 10), qRgb(0xE0, 0xE0, 0xE0));

    bar.setMax(5); // a page longer than the range fills the track
    bar.setValue(90);
    EXPECT_EQ(thumb()->geometry(), QRect(0, 0, 758, 21));
    bar.setMax(1000000);
    EXPECT_EQ(bar.geometryTwips().thumbWidth(), 90) << "the smallest thumb";
    bar.setMax(-100);
    EXPECT_EQ(thumb()->width(), 0) << "never narrower than nothing";

    bar.setMax(100);
    bar.resize(48, 21);
    EXPECT_FALSE(bar.geometryTwips().hasRoom());
    EXPECT_EQ(thumb()->geometry(), QRect(0, 0, 6, 21));
    bar.resize(30, 21);
    EXPECT_EQ(track()->width(), 0);
    EXPECT_EQ(button("btnRight")->x(), 21);
}

TEST_F(ShownScrollBar, MouseOnTrackThumbAndButtons) {
    const struct {
        const char* what;
        int width = 800, max = 100, small = 1, type = 5;
        bool reportWhileDragging = true;
        double value = 0;
        const char* steps = "";
        std::vector<double> values{};
        std::vector<int16_t> types{};
        std::vector<float> tips{};
    } cases[] = {
        {.what = "track clicks page by 10; the thumb's edges belong to it",
         .value = 50,
         .steps = "c600 c100 c100 C600 C376 C456 c456",
         .values = {60, 50, 40, 50, 50},
         .types = {3, 4, 4, 3, 0}},
        {.what = "the end buttons step, setting the type after the change",
         .small = 3,
         .value = 50,
         .steps = "] [ [",
         .values = {53, 50, 47},
         .types = {5, 1, 2}},
        {.what = "the last full page holds", .value = 89, .steps = "] ]", .values = {90, 90}},
        {.what = "a page longer than the range leaves only the left button",
         .max = 5,
         .steps = "] c100 c700 [",
         .values = {0},
         .types = {5}},
        {.what = "a drag reports on release",
         .reportWhileDragging = false,
         .steps = "p10 m386 m387 t377 r387 t376",
         .values = {50},
         .types = {0},
         .tips = {50.0f, 50.132f}},
        {.what = "a drag keeps the grab offset and stops at the ends",
         .reportWhileDragging = false,
         .value = 50,
         .steps = "p400 m500 m770 e758 m-15 t0 r-15",
         .values = {0},
         .types = {0},
         .tips = {63.297f, 90.0f, 0.0f}},
        {.what = "a drag reports every move, the release sets the type",
         .steps = "p10 m387 t376 m500 r500",
         .values = {50, 65, 65},
         .types = {5, 5, 0},
         .tips = {50.132f, 65.159f}},
        {.what = "only a left press on the thumb drags",
         .steps = "p300 m10 r400 P100 m300 R300",
         .values = {10, 20},
         .types = {3, 3}},
        {.what = "any release ends a drag",
         .steps = "p10 m386 P386 R386 m450 r500",
         .values = {50, 50, 60},
         .types = {5, 0, 3},
         .tips = {50.0f}},
        {.what = "a track without room takes no position",
         .width = 48,
         .steps = "p2 m5 r5 ]",
         .values = {1},
         .types = {5}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        bar.resize(c.width, 21);
        bar.setMax(c.max);
        bar.setSmallChange(c.small);
        bar.setChangeType(c.type);
        bar.setScrollingChangeEvent(c.reportWhileDragging);
        bar.setValue(c.value);
        events = {};
        drive(c.steps);
        EXPECT_EQ(events.values, c.values);
        if (!c.types.empty()) {
            EXPECT_EQ(events.types, c.types);
        }
        EXPECT_EQ(events.tips, c.tips);
    }
}

} // namespace
} // namespace viewer::testing
