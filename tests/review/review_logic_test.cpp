// The plain functions behind the review tools: times typed by the user, ruler steps, the
// recent-file list and wheel notches.

#include "review/GoToTime.h"
#include "review/KeyboardMap.h"
#include "review/RecentFiles.h"
#include "review/TimeRuler.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kStart = 23 * 3600 + 59 * 60; // 23:59:00

// 600 s of file starting at 23:59:00; seconds 300 on were recorded an hour after second 299
// (a cut of 3600 s), as the segment arithmetic of GetMont gives them.
int32_t clockWithCut(int32_t s) { return kStart + s + (s >= 300 ? 3600 : 0); }

TEST(GoToTime, ClockAndElapsedTimesNameTheSecondOfTheFile) {
    struct Case {
        const char* text;
        bool ok;
        int32_t second;
    };
    const Case cases[] = {
        {"23:59:00", true, 0},   {"23:59:30", true, 30},  {"00:00:10", true, 70},  // midnight
        {"00:03:59", true, 299}, {"01:04:00", true, 300}, {"01:05:40", true, 400}, // after cut
        {"00:30:00", false, 0},                                                    // cut out
        {"23:58:59", false, 0},  {"01:09:00", false, 0},                           // outside
        {"+0", true, 0},         {"+754", false, 0},      {"+599", true, 599},
        {"+5:07", true, 307},    {"+0:10:00", false, 0},  {"+0:09:59", true, 599},
        {"00:00", true, 60},     {"24:00:00", false, 0},  {"10:61", false, 0},
        {"", false, 0},          {"ten", false, 0},       {"+-5", false, 0},
        {"1:2:3:4", false, 0},
        // A fraction of a second as the status bar writes it: the page starts at its second.
        {"23:59:30.250", true, 30}, {"+5:07.9", true, 307},  {"23:59:30.", false, 0},
        {"23:59:30.2x", false, 0},  {"23:59.5:00", false, 0},
    };
    for (const Case& c : cases) {
        const TimeTarget t = parseTimeTarget(QString::fromLatin1(c.text), 600, clockWithCut);
        EXPECT_EQ(t.ok, c.ok) << c.text << " " << t.error.toStdString();
        EXPECT_EQ(t.ok ? t.second : 0, c.second) << c.text;
        EXPECT_EQ(t.error.isEmpty(), c.ok) << c.text;
    }
    EXPECT_FALSE(parseTimeTarget(QStringLiteral("+0"), 0, clockWithCut).ok); // no data
}

TEST(TimeRuler, TheStepIsTheFirstWhoseLabelsDoNotTouch) {
    struct Case {
        double pixelsPerSecond;
        int labelPixels;
        int step;
    };
    const Case cases[] = {{180, 60, 1}, {60, 60, 1}, {59.9, 60, 2}, {30, 60, 2},
                          {12, 60, 5},  {6, 60, 10}, {2, 60, 30},   {0.5, 60, 30}};
    for (const Case& c : cases) {
        EXPECT_EQ(chooseTickStep(c.pixelsPerSecond, c.labelPixels), c.step) << c.pixelsPerSecond;
    }
}

TEST(TimeRuler, TicksSitOnClockMultiplesOfTheStep) {
    // A page of 10 s from 09:30:03; the pixel of a time is 100 + ms / 100.
    const auto ticks = rulerTicks(
        10000, 5, [](int32_t k) { return int64_t{34203 + k}; },
        [](int32_t ms) { return 100 + ms / 100; });
    ASSERT_EQ(ticks.size(), 2U);
    EXPECT_EQ(ticks[0].x, 120);
    EXPECT_EQ(ticks[0].text, "09:30:05");
    EXPECT_EQ(ticks[1].x, 170);
    EXPECT_EQ(ticks[1].text, "09:30:10");
}

TEST(RecentFiles, MostRecentFirstWithoutDuplicatesAtMostEight) {
    const QStringList eight = {"1", "2", "3", "4", "5", "6", "7", "8"};
    EXPECT_EQ(withRecent({}, "a"), QStringList{"a"});
    EXPECT_EQ(withRecent({"a", "b", "c"}, "c"), (QStringList{"c", "a", "b"}));
    EXPECT_EQ(withRecent(eight, "9"), (QStringList{"9", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(withRecent(eight, "8"), (QStringList{"8", "1", "2", "3", "4", "5", "6", "7"}));
}

TEST(KeyboardMap, HighResolutionWheelsAddUpToWholeNotches) {
    WheelNotches wheel;
    const int deltas[] = {40, 40, 30, 10, 240, -120, -100, -30};
    const int notches[] = {0, 0, 0, 1, 2, -1, 0, -1};
    for (size_t i = 0; i < std::size(deltas); ++i) {
        EXPECT_EQ(wheel.add(deltas[i]), notches[i]) << i;
    }
}

} // namespace
