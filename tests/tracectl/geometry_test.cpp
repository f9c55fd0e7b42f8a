// Line scaling, pixel positions of samples, polylines written into a layer and the numbers a
// value line shows.

#include "polyline_raster.h"
#include "trace_geometry.h"
#include "value_numbers.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace viewer {
namespace {

TEST(TraceGeometry, PixelsPerStepFollowsCalibrationScreenAndGain) {
    EXPECT_DOUBLE_EQ(pixelsPerCm(1080), 54.0);
    DerivationRecord r;
    r.kind = kInputAOnly;
    r.logicMax = 65535;
    r.physicalMin = -3200;
    r.physicalMax = 3200;
    // 6400 uV over 65536 steps, 54 pixels per cm, 100 uV per cm: 6400 x 54 / 6553600.
    EXPECT_DOUBLE_EQ(pixelsPerStep(r, 100, 54.0), 0.052734375);
    EXPECT_DOUBLE_EQ(pixelsPerStep(r, -200, 54.0), -0.0263671875);
    EXPECT_EQ(pixelsPerStep(r, 0, 54.0), 0.0);
    r.unit = 1; // millivolts
    EXPECT_DOUBLE_EQ(pixelsPerStep(r, 100, 54.0), 52.734375);
    r.logicMax = -1; // no steps
    EXPECT_EQ(pixelsPerStep(r, 100, 54.0), 0.0);
    r.logicMax = 65535;
    r.physicalMax = r.physicalMin; // no range
    EXPECT_EQ(pixelsPerStep(r, 100, 54.0), 0.0);
}

TEST(TraceGeometry, SamplePositionsAndTheWalkOverThem) {
    EXPECT_EQ(sampleX(100, 1280, 900, 2560), 550);
    EXPECT_EQ(sampleX(100, 2559, 900, 2560), 999);
    EXPECT_EQ(sampleX(7, 2000000, 3000, 2500000), 2407); // 6e9 does not fit 32 bits
    const struct {
        int32_t label, width;
        uint32_t samples;
    } cases[] = {{0, 1000, 2560}, {107, 1813, 10240}, {5, 3000, 700},    {50, -30, 256},
                 {0, 0, 100},     {3, 7, 1},          {0, 1920, 1310720}};
    for (const auto& c : cases) {
        SampleXWalk walk(c.label, c.width, c.samples);
        for (uint32_t l = 0; l < c.samples; ++l, walk.next()) {
            ASSERT_EQ(walk.x(), sampleX(c.label, l, c.width, c.samples)) << c.width << " " << l;
        }
    }
}

TEST(TraceGeometry, ValuesAboveZeroGoUpAndYStaysInSixteenBits) {
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        int32_t row;
        float value;
        double k;
        int32_t y;
    } cases[] = {{100, 100.0f, 0.5, 50},         {100, -100.0f, 0.5, 150},
                 {100, 5.9f, 1.0, 95},           {100, -5.9f, 1.0, 105},
                 {100, 1e30f, 1.0, -32768},      {100, -1e30f, 1.0, 32767},
                 {100, inf, 1.0, -32768},        {100, std::nanf(""), 1.0, 100},
                 {32000, -40000.0f, 1.0, 32767}, {200, 12345.0f, 0.0, 200}};
    for (const auto& c : cases) {
        EXPECT_EQ(traceY(c.row, c.value, c.k), c.y) << c.value;
    }
}

TEST(ValueNumbers, ThirtyTwoBitProductUnsignedDivisionLowSixteenBits) {
    const struct {
        int32_t logicMin, logicMax, physicalMin, physicalMax, raw;
        uint16_t shown;
    } cases[] = {{0, 1000, 0, 1000, 100, 100},  {0, 255, 0, 100, 128, 50},
                 {0, 2, 0, 200, 70000, 0xCFC0}, // 7000000 = 0x6ACFC0
                 {0, 10, 0, 1, -10, 0x9998},    // 0xFFFFFFF6 / 10 = 0x19999998
                 {500, 500, 0, 100, 123, 0},    {0, 0, -5, 5, -1, 0}};
    for (const auto& c : cases) {
        ElectrodeRecord e;
        e.logicMin = c.logicMin;
        e.logicMax = c.logicMax;
        e.physicalMin = c.physicalMin;
        e.physicalMax = c.physicalMax;
        EXPECT_EQ(valueLineNumber(e, c.raw), c.shown) << c.raw;
    }
}

constexpr QRgb kInk = qRgb(10, 20, 30);

std::vector<QPoint> draw(int size, const std::vector<QPoint>& line) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawPolylineRgb32(image, line, kInk);
    std::vector<QPoint> points;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (image.pixel(x, y) == kInk) {
                points.emplace_back(x, y);
            }
        }
    }
    return points;
}

TEST(Polyline, DrawsEachSegmentWithBothEndsAndTheNearestPixelOfEveryStep) {
    const std::vector<QPoint> corner = {{2, 3}, {2, 5}, {4, 5}};
    EXPECT_EQ(draw(10, corner), (std::vector<QPoint>{{2, 3}, {2, 4}, {2, 5}, {3, 5}, {4, 5}}));
    EXPECT_TRUE(draw(10, {{5, 5}}).empty());
    const std::vector<QPoint> steep = draw(40, {{5, 2}, {8, 30}});
    ASSERT_EQ(steep.size(), 29u); // one pixel per row
    for (const QPoint& p : steep) {
        EXPECT_EQ(p.x(), 5 + static_cast<int>(std::floor((p.y() - 2) * 3.0 / 28.0 + 0.5)));
    }
    const std::vector<QPoint> shallow = draw(40, {{30, 10}, {0, 4}});
    ASSERT_EQ(shallow.size(), 31u); // one pixel per column
    EXPECT_EQ(shallow.front(), QPoint(0, 4));
    EXPECT_EQ(shallow.back(), QPoint(30, 10));
    EXPECT_EQ(draw(4, {{0, 0}, {3, 1}}), (std::vector<QPoint>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
}

TEST(Polyline, ClippingKeepsExactlyThePixelsInsideTheLayer) {
    // The same lines on a small layer and, shifted by 150 pixels, on a large one: the small
    // layer must show exactly the large one's window at (150, 150).
    std::vector<QPoint> lines = {{-3000, 20},  {80, 70},  {40, -32768}, {60, 32767},
                                 {30, 30},     {260, 10}, {-50, 60},    {40, 5000000},
                                 {-900, -800}, {99, 99},  {99, 0}};
    const std::vector<QPoint> small = draw(100, lines);
    EXPECT_GT(small.size(), 150u);
    for (QPoint& p : lines) {
        p += QPoint(150, 150);
    }
    std::vector<QPoint> window;
    for (const QPoint& p : draw(400, lines)) {
        if (QRect(150, 150, 100, 100).contains(p)) {
            window.push_back(p - QPoint(150, 150));
        }
    }
    EXPECT_EQ(small, window);
    EXPECT_TRUE(draw(100, {{-10, -5}, {-2, 300}, {500, 300}}).empty());
}

} // namespace
} // namespace viewer
