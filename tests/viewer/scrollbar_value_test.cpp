// Writing and reading the scroll bar's position and page: clamping, snapping, events.

#include "MyScrollBar.h"
#include "scroll_value.h"
#include "scrollbar_events.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace viewer::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ScrollBarValue, ClampsToTheLastFullPageAndRoundsHalvesToEven) {
    MyScrollBar bar;
    bar.setMax(100);
    bar.setLargeChange(10);
    const std::pair<double, double> cases[] = {{95, 90},   {-5, 0},    {42.5, 42}, {43.5, 44},
                                               {90.4, 90}, {89.5, 90}, {1e12, 90}, {0.49, 0}};
    for (const auto& [written, read] : cases) {
        bar.setValue(written);
        EXPECT_EQ(bar.Value(), read) << "writing " << written;
    }
    bar.setMin(20);
    bar.setValue(5);
    EXPECT_EQ(bar.Value(), 20);
}

TEST(ScrollBarValue, SnapsToQuartersWhenThePageIsAQuarter) {
    MyScrollBar bar;
    bar.setLargeChange(0.25);
    const std::pair<double, double> cases[] = {{3.1, 3.0},   {3.2, 3.25},   {3.125, 3.0},
                                               {3.375, 3.5}, {99.9, 99.75}, {-0.1, 0}};
    for (const auto& [written, read] : cases) {
        bar.setValue(written);
        EXPECT_EQ(bar.Value(), read) << "writing " << written;
    }
}

TEST(ScrollBarValue, RangeShorterThanAPageKeepsZero) {
    MyScrollBar bar;
    bar.setMax(5);
    bar.setLargeChange(10);
    for (double v : {0.0, 3.0, 5.0, 100.0}) {
        bar.setValue(v);
        EXPECT_EQ(bar.Value(), 0) << "writing " << v;
    }
    bar.setMax(0);
    bar.setValue(7);
    EXPECT_EQ(bar.Value(), 0);
}

TEST(ScrollBarValue, EveryWriteRaisesChangeWithTheStoredValue) {
    MyScrollBar bar;
    ScrollBarEvents events(bar);
    bar.setValue(42);
    bar.setValue(42);
    bar.setValue(150);
    EXPECT_EQ(events.valueAtChange, (std::vector<double>{42, 42, 99}));

    // Range writes neither re-check the position nor report anything.
    bar.setMax(50);
    bar.setMin(120);
    EXPECT_EQ(bar.Value(), 99);
    EXPECT_EQ(events.changes(), 3u);
}

TEST(ScrollBarValue, LargeChangeWriteTruncatesAndRewritesValueOnce) {
    MyScrollBar bar;
    bar.setValue(97);
    ScrollBarEvents events(bar);
    bar.setLargeChange(10.0009);
    EXPECT_EQ(bar.largeChange(), 10.0);
    EXPECT_EQ(events.valueAtChange, std::vector<double>{90});

    bar.setLargeChange(0.2509);
    EXPECT_EQ(bar.largeChange(), 0.25);
    bar.setLargeChange(2.9999);
    EXPECT_DOUBLE_EQ(bar.largeChange(), 2.999);
    EXPECT_EQ(events.changes(), 3u);
}

TEST(ScrollBarValue, PageBelowOneThousandthOrNotPositiveCountsAsOne) {
    MyScrollBar bar;
    for (double page : {0.0004, 0.0, -0.9999, -3.0, kNaN}) {
        bar.setLargeChange(page);
        EXPECT_EQ(bar.largeChange(), 1.0) << "page " << page;
        // With a step of 0 the position would be 0/0; it snaps to whole units instead.
        bar.setValue(99.6);
        EXPECT_EQ(bar.Value(), 99) << "page " << page;
        bar.setValue(12.4);
        EXPECT_EQ(bar.Value(), 12) << "page " << page;
    }
}

TEST(ScrollBarValue, NonFiniteWritesBecomeMin) {
    MyScrollBar bar;
    bar.setLargeChange(10);
    bar.setMin(3);
    ScrollBarEvents events(bar);
    for (double v : {kNaN, kInf, -kInf}) {
        bar.setValue(50);
        bar.setValue(v);
        EXPECT_EQ(bar.Value(), 3) << "writing " << v;
    }
    EXPECT_EQ(events.changes(), 6u);
}

TEST(ScrollBarValue, PlainPropertyWritesOnlyStoreAndMarkChanged) {
    MyScrollBar bar;
    ScrollBarEvents events(bar);
    EXPECT_FALSE(bar.isModified());
    bar.setEnabledFlag(true);
    bar.setSmallChange(5);
    bar.setChangeType(3);
    bar.setTimeUnit(QStringLiteral("s"));
    bar.setScrollingChangeEvent(false);
    EXPECT_TRUE(bar.isModified());
    EXPECT_EQ(events.changes(), 0u);
    EXPECT_TRUE(bar.isEnabled()) << "the stored flag leaves the widget usable";
    EXPECT_EQ(bar.timeUnit(), QVariant(QStringLiteral("s")));
}

TEST(ScrollValueRules, ExtremesStayFinite) {
    EXPECT_EQ(scrollbar::truncateToThousandths(1e300), 1e300);
    EXPECT_EQ(scrollbar::truncateToThousandths(-1.2345), -1.234);
    EXPECT_TRUE(std::isinf(scrollbar::truncateToThousandths(kInf)));
    EXPECT_EQ(scrollbar::acceptedValue(50, 0, 100, kInf), 0);
    EXPECT_EQ(scrollbar::acceptedValue(50, 0, 100, 1e308), 0);
    EXPECT_EQ(scrollbar::acceptedValue(50, -2147483647 - 1, 2147483647, 1), 50);
    EXPECT_EQ(scrollbar::acceptedValue(2.5, 0, 100, 1), 2);
    EXPECT_EQ(scrollbar::acceptedValue(-2.5, -10, 100, 1), 0);
}

} // namespace
} // namespace viewer::testing
