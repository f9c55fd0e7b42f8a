// What the control paints: the letterboxed picture, crops measured by the pixels of the
// painted frame, and uncrop.

#include "clip_harness.h"
#include "video_fixtures.h"

#include <gtest/gtest.h>

using namespace viewer::testing;

namespace {

// The fixture's red rises with the picture's x, its green with y. Compression and colour
// conversion leave them a few levels off, most near the edges, so the checks stay inside.
double sourceX(QRgb pixel) {
    return qRed(pixel) * kVideoWidth / 255.0;
}
double sourceY(QRgb pixel) {
    return qGreen(pixel) * kVideoHeight / 255.0;
}
bool isBlack(QRgb pixel) {
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel) < 24;
}
constexpr double kSlack = 5;
// Picture rows 40 to 60 and 118 to 143 are free of the burnt-in bars and digits.
constexpr double kUpperRow = 50;
constexpr double kLowerRow = 130;

class CropPaint : public ::testing::Test {
protected:
    void SetUp() override {
        h.open(fixtureVideo("silent.mpg"));
        ASSERT_EQ(h.ctrl().playState(), 3);
        h.ctrl().setCurrentPosition(2.0);
        h.pump();
    }

    // Checks that picture point (x, y) is painted at control pixel (px, py).
    void expectPainted(const QImage& image, double x, double y, int px, int py) {
        const QRgb pixel = image.pixel(px, py);
        EXPECT_NEAR(sourceX(pixel), x, kSlack) << "at " << px << "," << py;
        EXPECT_NEAR(sourceY(pixel), y, kSlack) << "at " << px << "," << py;
    }

    void expectLetterboxed() {
        const QImage image = h.paint();
        // A 16:9 picture in 320 x 240: scaled by 1.25, black bars of 30 rows above and below.
        EXPECT_TRUE(isBlack(image.pixel(160, 10)));
        EXPECT_TRUE(isBlack(image.pixel(160, 229)));
        for (double x : {12.0, 128.0, 240.0}) {
            for (double y : {kUpperRow, kLowerRow}) {
                expectPainted(image, x, y, static_cast<int>(x * 1.25),
                              static_cast<int>(30 + y * 1.25));
            }
        }
        EXPECT_EQ(h.frameShown(), 50);
    }

    ClipHarness h;
};

} // namespace

TEST_F(CropPaint, TheOpenPictureIsLetterboxed) {
    expectLetterboxed();
}

TEST_F(CropPaint, ATallerAreaCutsTheSides) {
    EXPECT_EQ(h.ctrl().Crop(320, 240), 0);
    const QImage image = h.paint();
    // The picture fills the height (scale 240 / 144); of its 426.7 scaled columns the
    // middle 320 show, 53.3 cut off on either side.
    const double scale = 240.0 / kVideoHeight;
    const double cut = (kVideoWidth * scale - 320) / 2;
    for (int px : {2, 160, 300}) {
        for (double y : {kUpperRow, kLowerRow}) {
            expectPainted(image, (px + cut) / scale, y, px, static_cast<int>(y * scale));
        }
    }
    EXPECT_FALSE(isBlack(image.pixel(160, 1)));
    EXPECT_FALSE(isBlack(image.pixel(160, 238)));
    EXPECT_EQ(h.ctrl().playState(), 3);
}

TEST_F(CropPaint, AWiderAreaCutsTopAndBottom) {
    h.ctrl().resize(320, 90);
    EXPECT_EQ(h.ctrl().Crop(320, 90), 0);
    const QImage image = h.paint();
    // The picture fills the width (scale 1.25); of its 180 scaled rows the middle 90 show.
    const double scale = 1.25;
    for (double x : {12.0, 128.0, 240.0}) {
        for (double y : {40.0, 52.0}) {
            expectPainted(image, x, y, static_cast<int>(x * scale),
                          static_cast<int>(y * scale - 45));
        }
    }
    EXPECT_FALSE(isBlack(image.pixel(2, 45)));
    EXPECT_FALSE(isBlack(image.pixel(317, 45)));
}

TEST_F(CropPaint, OwnProportionsNoSizeAndUncropLetterbox) {
    EXPECT_EQ(h.ctrl().Crop(512, 288), 0);
    expectLetterboxed();
    h.ctrl().Crop(320, 240);
    EXPECT_EQ(h.ctrl().Crop(0, 240), 0);
    expectLetterboxed();
    h.ctrl().Crop(320, 240);
    EXPECT_EQ(h.ctrl().Crop(320, -3), 0);
    expectLetterboxed();
    h.ctrl().Crop(320, 240);
    EXPECT_EQ(h.ctrl().Uncrop(), 0);
    expectLetterboxed();
    EXPECT_TRUE(h.messages().empty());
}

TEST_F(CropPaint, TheFramingFollowsTheControlsSize) {
    h.ctrl().resize(144, 256);
    const QImage image = h.paint();
    // Tall and narrow: the picture 144 x 81 in the middle, bars above and below.
    const double scale = 144.0 / kVideoWidth;
    const double top = (256 - kVideoHeight * scale) / 2;
    EXPECT_TRUE(isBlack(image.pixel(72, static_cast<int>(top) - 3)));
    EXPECT_TRUE(isBlack(image.pixel(72, static_cast<int>(top + kVideoHeight * scale) + 3)));
    expectPainted(image, 128, kLowerRow, 72, static_cast<int>(top + kLowerRow * scale));
    EXPECT_EQ(h.frameShown(h.letterboxRect()), 50);
}
