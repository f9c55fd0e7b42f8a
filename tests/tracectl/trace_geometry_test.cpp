// Line scaling and pixel positions of samples, and the polylines written into a layer.

#include "polyline_raster.h"
#include "trace_geometry.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace viewer {
namespace {

DerivationRecord sixteenBit() {
    DerivationRecord r;
    r.kind = kInputAOnly;
    r.logicMin = 0;
    r.logicMax = 65535;
    r.physicalMin = -3200;
    r.physicalMax = 3200;
    return r;
}

TEST(TraceGeometry, PixelsPerStepFollowsCalibrationScreenAndGain) {
    EXPECT_DOUBLE_EQ(pixelsPerCm(1080), 54.0);
    EXPECT_DOUBLE_EQ(pixelsPerCm(1050), 52.5);
    // 6400 uV over 65536 steps, 54 pixels per cm, 100 uV per cm.
    EXPECT_DOUBLE_EQ(pixelsPerStep(sixteenBit(), 100, 54.0), 6400.0 / 65536.0 * 54.0 / 100.0);
    DerivationRecord mv = sixteenBit();
    mv.unit = 1;
    EXPECT_DOUBLE_EQ(pixelsPerStep(mv, 100, 54.0), 1000.0 * 6400.0 / 65536.0 * 54.0 / 100.0);
    EXPECT_LT(pixelsPerStep(sixteenBit(), -100, 54.0), 0.0);
}

TEST(TraceGeometry, ZeroGainOrEmptyCalibrationLeavesTheLineOnItsRow) {
    EXPECT_EQ(pixelsPerStep(sixteenBit(), 0, 54.0), 0.0);
    DerivationRecord noSteps = sixteenBit();
    noSteps.logicMin = 0;
    noSteps.logicMax = -1; // logicMax - logicMin + 1 = 0
    EXPECT_EQ(pixelsPerStep(noSteps, 100, 54.0), 0.0);
    DerivationRecord noRange = sixteenBit();
    noRange.physicalMax = noRange.physicalMin;
    EXPECT_EQ(pixelsPerStep(noRange, 100, 54.0), 0.0);
    EXPECT_EQ(traceY(200, 12345.0f, 0.0), 200);
}

TEST(TraceGeometry, SamplePositionsAreComputedIn64Bits) {
    EXPECT_EQ(sampleX(100, 0, 900, 2560), 100);
    EXPECT_EQ(sampleX(100, 1280, 900, 2560), 550);
    EXPECT_EQ(sampleX(100, 2559, 900, 2560), 100 + 2559 * 900 / 2560);
    // 2 000 000 x 3000 does not fit 32 bits.
    EXPECT_EQ(sampleX(7, 2000000, 3000, 2500000), 7 + 2400);
}

TEST(TraceGeometry, TheWalkOverSamplesGivesEverySamplesPosition) {
    const struct {
        int32_t label, width;
        uint32_t samples;
    } cases[] = {{0, 1000, 2560}, {107, 1813, 10240}, {5, 3000, 700},    {50, -30, 256},
                 {0, 0, 100},     {3, 7, 1},          {0, 1920, 1310720}};
    for (const auto& c : cases) {
        SampleXWalk walk(c.label, c.width, c.samples);
        for (uint32_t l = 0; l < c.samples; ++l) {
            ASSERT_EQ(walk.x(), sampleX(c.label, l, c.width, c.samples))
                << c.width << "/" << c.samples << " at " << l;
            walk.next();
        }
    }
}

TEST(TraceGeometry, ValuesAboveZeroGoUpAndYStaysInSixteenBits) {
    EXPECT_EQ(traceY(100, 100.0f, 0.5), 50);
    EXPECT_EQ(traceY(100, -100.0f, 0.5), 150);
    EXPECT_EQ(traceY(100, 5.9f, 1.0), 95); // truncated toward zero
    EXPECT_EQ(traceY(100, -5.9f, 1.0), 105);
    EXPECT_EQ(traceY(100, 1e30f, 1.0), -32768);
    EXPECT_EQ(traceY(100, -1e30f, 1.0), 32767);
    EXPECT_EQ(traceY(100, std::numeric_limits<float>::infinity(), 1.0), -32768);
    EXPECT_EQ(traceY(100, std::nanf(""), 1.0), 100);
    EXPECT_EQ(traceY(32000, -40000.0f, 1.0), 32767);
}

class PolylineTest : public ::testing::Test {
protected:
    static constexpr QRgb kInk = qRgb(10, 20, 30);
    static constexpr QRgb kPaper = qRgb(255, 255, 255);

    static QImage paper(int w, int h) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(kPaper);
        return image;
    }
    static std::vector<QPoint> inked(const QImage& image) {
        std::vector<QPoint> points;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) == kInk) {
                    points.emplace_back(x, y);
                }
            }
        }
        return points;
    }
};

TEST_F(PolylineTest, DrawsEachSegmentWithBothEnds) {
    QImage image = paper(20, 20);
    const std::vector<QPoint> line = {{2, 3}, {2, 7}, {6, 7}};
    drawPolylineRgb32(image, line, kInk);
    EXPECT_EQ(inked(image).size(), 5u + 4u);
    for (int y = 3; y <= 7; ++y) {
        EXPECT_EQ(image.pixel(2, y), kInk) << y;
    }
    for (int x = 2; x <= 6; ++x) {
        EXPECT_EQ(image.pixel(x, 7), kInk) << x;
    }
    EXPECT_EQ(image.pixel(2, 2), kPaper);
    EXPECT_EQ(image.pixel(7, 7), kPaper);

    QImage single = paper(20, 20);
    const std::vector<QPoint> one = {{5, 5}};
    drawPolylineRgb32(single, one, kInk);
    EXPECT_TRUE(inked(single).empty());
}

TEST_F(PolylineTest, SlopedSegmentsTakeTheNearestPixelOfEveryStep) {
    QImage image = paper(40, 40);
    const std::vector<QPoint> steep = {{5, 2}, {8, 30}};
    drawPolylineRgb32(image, steep, kInk);
    const std::vector<QPoint> points = inked(image);
    ASSERT_EQ(points.size(), 29u); // one pixel per row
    for (const QPoint& p : points) {
        const int t = p.y() - 2;
        EXPECT_EQ(p.x(), 5 + static_cast<int>(std::floor(t * 3.0 / 28.0 + 0.5))) << p.y();
    }
    QImage flat = paper(40, 40);
    const std::vector<QPoint> shallow = {{30, 10}, {0, 4}};
    drawPolylineRgb32(flat, shallow, kInk);
    EXPECT_EQ(inked(flat).size(), 31u); // one pixel per column
    EXPECT_EQ(flat.pixel(30, 10), kInk);
    EXPECT_EQ(flat.pixel(0, 4), kInk);
}

TEST_F(PolylineTest, ClippingKeepsExactlyThePixelsInsideTheLayer) {
    // The same lines on a small layer and, shifted by 150 pixels, on a large one: the small
    // layer must show exactly the large one's window at (150, 150).
    const std::vector<QPoint> lines = {{-3000, 20},  {80, 70},  {40, -32768}, {60, 32767},
                                       {30, 30},     {260, 10}, {-50, 60},    {40, 5000000},
                                       {-900, -800}, {99, 99},  {99, 0}};
    QImage small = paper(100, 100);
    drawPolylineRgb32(small, lines, kInk);
    std::vector<QPoint> shifted;
    for (const QPoint& p : lines) {
        shifted.emplace_back(p.x() + 150, p.y() + 150);
    }
    QImage large = paper(400, 400);
    drawPolylineRgb32(large, shifted, kInk);
    EXPECT_GT(inked(small).size(), 150u);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            ASSERT_EQ(small.pixel(x, y), large.pixel(x + 150, y + 150)) << x << "," << y;
        }
    }
    // A segment wholly outside draws nothing.
    QImage outside = paper(100, 100);
    const std::vector<QPoint> away = {{-10, -5}, {-2, 300}, {500, 300}};
    drawPolylineRgb32(outside, away, kInk);
    EXPECT_TRUE(inked(outside).empty());
}

} // namespace
} // namespace viewer
