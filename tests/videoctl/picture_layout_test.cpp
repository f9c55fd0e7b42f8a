// Crop geometry and where the picture is drawn.

#include "picture_layout.h"

#include <gtest/gtest.h>

TEST(PictureLayout, CropCutsTheSidesThatOverflow) {
    PictureLayout layout;
    // A 4:3 area for a 16:9 picture: it fills the height, equal parts of the sides go.
    layout.crop(320, 240, 256, 144);
    EXPECT_FALSE(layout.letterboxed());
    const double k = (256.0 * 240 / 144 - 320) * 0.5 / 320;
    EXPECT_NEAR(layout.left(), -k, 1e-6);
    EXPECT_NEAR(layout.right(), 1 + k, 1e-6);
    EXPECT_EQ(layout.top(), 0);
    EXPECT_EQ(layout.bottom(), 1);
    const QRectF drawn = layout.target(QSizeF(320, 240), 16.0 / 9);
    EXPECT_NEAR(drawn.width(), 240 * 16.0 / 9, 1e-3);
    EXPECT_NEAR(drawn.center().x(), 160, 1e-3);
    EXPECT_EQ(drawn.height(), 240);

    // A wide area for the same picture: it fills the width, top and bottom go.
    layout.crop(400, 100, 256, 144);
    const double j = (144.0 * 400 / 256 - 100) * 0.5 / 100;
    EXPECT_NEAR(layout.top(), -j, 1e-6);
    EXPECT_NEAR(layout.bottom(), 1 + j, 1e-6);
    EXPECT_EQ(layout.left(), 0);
}

TEST(PictureLayout, CropOfThePicturesOwnProportionsOrOfNoSizeLetterboxes) {
    PictureLayout layout;
    layout.crop(512, 288, 256, 144);
    EXPECT_TRUE(layout.letterboxed());
    EXPECT_EQ(layout.left(), 0);
    EXPECT_EQ(layout.right(), 1);
    for (auto [w, h] :
         {std::pair{0, 240}, std::pair{320, 0}, std::pair{-5, 240}, std::pair{320, -1}}) {
        layout.crop(400, 100, 256, 144);
        layout.crop(w, h, 256, 144);
        EXPECT_TRUE(layout.letterboxed()) << w << "x" << h;
        EXPECT_EQ(layout.top(), 0);
        EXPECT_EQ(layout.bottom(), 1);
    }
    // Without a known picture size the crop works on 360 x 280.
    layout.crop(360, 280, 0, 0);
    EXPECT_TRUE(layout.letterboxed());
    layout.crop(720, 280, 0, 0);
    EXPECT_NEAR(layout.top(), -(280.0 * 720 / 360 - 280) * 0.5 / 280, 1e-6);
}

TEST(PictureLayout, LetterboxCentresThePicture) {
    PictureLayout layout;
    EXPECT_EQ(layout.target(QSizeF(320, 240), 16.0 / 9), QRectF(0, 30, 320, 180));
    EXPECT_EQ(layout.target(QSizeF(400, 100), 2.0), QRectF(100, 0, 200, 100));
    EXPECT_EQ(layout.target(QSizeF(200, 100), 2.0), QRectF(0, 0, 200, 100));
}
