// The numbers a value line shows: physical value in 32-bit arithmetic, low 16 bits.

#include "value_numbers.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

ElectrodeRecord calibrated(int32_t logicMin, int32_t logicMax, int32_t physicalMin,
                           int32_t physicalMax) {
    ElectrodeRecord e;
    e.logicMin = logicMin;
    e.logicMax = logicMax;
    e.physicalMin = physicalMin;
    e.physicalMax = physicalMax;
    return e;
}

TEST(ValueNumbers, ScaleTheRawValueAsTheLinesHaveAlwaysShownIt) {
    EXPECT_EQ(valueLineNumber(calibrated(0, 1000, 0, 1000), 100), 100);
    EXPECT_EQ(valueLineNumber(calibrated(0, 255, 0, 100), 255), 100);
    EXPECT_EQ(valueLineNumber(calibrated(0, 255, 0, 100), 128), 50); // 12800 / 255, truncated
    // 32-bit product, unsigned division, low 16 bits: 200 x 70000 / 2 = 7000000 = 0x6ACFC0.
    EXPECT_EQ(valueLineNumber(calibrated(0, 2, 0, 200), 70000), 0xCFC0);
    // A negative raw value is divided unsigned.
    EXPECT_EQ(valueLineNumber(calibrated(0, 10, 0, 1), -10), (0xFFFFFFF6u / 10u) & 0xFFFF);
}

TEST(ValueNumbers, AnEmptyDigitalRangeShowsZero) {
    EXPECT_EQ(valueLineNumber(calibrated(500, 500, 0, 100), 123), 0);
    EXPECT_EQ(valueLineNumber(calibrated(0, 0, -5, 5), -1), 0);
}

} // namespace
} // namespace viewer
