// The parts below the control: where the picture goes, file kinds by path and the
// content probe.

#include "content_probe.h"
#include "file_kind.h"
#include "picture_layout.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <vector>

using namespace clipdeck;
using viewer::testing::TempDir;

namespace {

bool near(const QRectF& a, const QRectF& b) {
    return std::abs(a.left() - b.left()) + std::abs(a.top() - b.top()) +
               std::abs(a.width() - b.width()) + std::abs(a.height() - b.height()) <
           1e-3;
}

} // namespace

TEST(PictureLayout, CropsCutEqualPartsOfTheOverflowingSides) {
    // Where a 16:9 picture goes in a 320 x 240 control, after a crop to 400 x 100 and then
    // this one. 256 x 144 scaled by 240/144 is 426.7 wide: 53.3 cut off either side; in
    // 400 x 100 it is 225 high: 62.5 cut off above and below (0.625 of the height). An
    // unknown size counts as 360 x 280: 560 high in 720 x 280.
    const QRectF box(0, 30, 320, 180);
    const struct {
        int realWidth, realHeight, videoWidth, videoHeight;
        QRectF drawn;
    } cases[] = {{320, 240, 256, 144, {-160.0 / 3, 0, 1280.0 / 3, 240}},
                 {400, 100, 256, 144, {0, -150, 320, 540}},
                 {720, 280, 0, 0, {0, -120, 320, 480}},
                 {360, 280, 0, 0, box},
                 {512, 288, 256, 144, box},
                 {0, 240, 256, 144, box},
                 {320, 0, 256, 144, box},
                 {-5, 240, 256, 144, box},
                 {320, -1, 256, 144, box}};
    for (const auto& c : cases) {
        PictureLayout layout;
        layout.crop(400, 100, 256, 144);
        layout.crop(c.realWidth, c.realHeight, c.videoWidth, c.videoHeight);
        EXPECT_EQ(layout.letterboxed(), c.drawn == box) << c.realWidth << "x" << c.realHeight;
        EXPECT_TRUE(near(layout.target(QSizeF(320, 240), 16.0 / 9), c.drawn))
            << c.realWidth << "x" << c.realHeight;
    }
}

TEST(PictureLayout, LetterboxCentresThePictureOrFillsWhenItsAspectIsUnknown) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        QSizeF size;
        double aspect;
        QRectF drawn;
    } cases[] = {{{320, 240}, 16.0 / 9, {0, 30, 320, 180}}, {{400, 100}, 2, {100, 0, 200, 100}},
                 {{200, 100}, 2, {0, 0, 200, 100}},         {{320, 240}, 0, {0, 0, 320, 240}},
                 {{320, 240}, -2, {0, 0, 320, 240}},        {{320, 240}, NAN, {0, 0, 320, 240}},
                 {{320, 240}, inf, {0, 0, 320, 240}},       {{0, 240}, 2, {0, 0, 0, 240}}};
    for (const auto& c : cases) {
        EXPECT_TRUE(near(PictureLayout().target(c.size, c.aspect), c.drawn)) << c.aspect;
    }
}

TEST(FileKind, AvcByTheLastExtensionAsfAnywhereInTheFirst259Bytes) {
    // A name whose only dot is its first character has no extension.
    const struct {
        const char* path;
        bool avc, asf;
    } cases[] = {{"/v/clip.mts", 1, 0}, {"/v/CLIP.MTS", 1, 0},  {"/v/clip.Mpe", 1, 0},
                 {"x.mpg.mts", 1, 0},   {"a.mts", 1, 0},        {".mts", 0, 0},
                 {"/v.mts/clip", 0, 0}, {"/v/clip.mts2", 0, 0}, {"/v/clip", 0, 0},
                 {"/v/clip.mpg", 0, 0}, {"/v/clipwmv", 0, 0},   {"/v/clip.wmv", 0, 1},
                 {"/v/CLIP.WMA", 0, 1}, {"/v/clip.asf", 0, 1},  {"/v.wmv/clip.mpg", 0, 1},
                 {"/v/clip.asfx", 0, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(isAvcPath(c.path), c.avc) << c.path;
        EXPECT_EQ(isAsfPath(c.path), c.asf) << c.path;
    }
    const std::string a255(255, 'a');
    EXPECT_TRUE(isAsfPath(a255 + ".wmv"));
    EXPECT_FALSE(isAsfPath(a255 + "a.wmv"));
    EXPECT_FALSE(isAsfPath("/" + a255 + "aaaaa/clip.wmv"));
}

namespace {

std::string write(const TempDir& dir, const std::string& name, const std::string& bytes) {
    std::ofstream(dir.file(name), std::ios::binary) << bytes;
    return dir.file(name);
}

std::string code(size_t at, char kind, size_t size = 200) {
    return std::string(size, '\x55').replace(at, 4, std::string("\0\0\x01", 3) + kind);
}

} // namespace

TEST(ContentProbe, WhichFilesCountAsMpegProgramStreams) {
    // RIFF forms other than AVI and CDXA go on to the start-code scan; the zero fill of a
    // short file is no start code.
    const std::string riff("RIFF\x10\0\0\0", 8);
    const std::string asf("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
    const std::string tga("TRUEVISION-XFILE.\0", 18);
    const std::string at4 = code(4, '\xBA', 100);
    const std::string at20 = code(20, '\xBA');
    const std::string sc("\0\0\x01\xBA", 4);
    // clang-format off
    const struct { const char* name; std::string bytes; bool mpeg; } cases[] = {
        {"ba", code(0, '\xBA'), 1}, {"b3", code(0, '\xB3'), 1}, {"b9", code(0, '\xB9'), 0},
        {"at59", code(59, '\xBA'), 1}, {"at60", code(60, '\xBA'), 0}, {"str", "#str" + at20, 0},
        {"a.avi", riff + "AVI " + at4, 0}, {"a.dat", riff + "CDXA", 1}, {"bmp", "BM" + at20, 0},
        {"a.wav", riff + "WAVE" + at4, 1}, {"asf", asf + at20, 0}, {"image.TGA", at20, 0},
        {"image.tgb", at20, 1}, {"targa", at20 + tga, 0}, {"nearly", at20 + tga + "x", 1},
        {"short", sc, 1}, {"footer", "x" + sc + tga, 0}, {"zeros", std::string(3, '\0'), 0},
        {"digits", "0123456789", 0}, {"empty", "", 0}};
    // clang-format on
    TempDir dir;
    std::vector<std::string> shown;
    const Reporter reporter = [&](const std::string&, const std::string& t) { shown.push_back(t); };
    for (const auto& c : cases) {
        EXPECT_EQ(probeIsMpeg(write(dir, c.name, c.bytes), reporter), c.mpeg) << c.name;
    }
    EXPECT_FALSE(probeIsMpeg(dir.file("missing"), reporter));
    EXPECT_FALSE(probeIsMpeg(dir.path().string(), reporter));
    EXPECT_TRUE(shown.empty());
    // A Zip file says so, its path shown as it stands, never read as a format.
    const std::string zip = write(dir, "odd %s %n name.mpg", "PK\x03\x04" + code(10, '\xBA'));
    EXPECT_FALSE(probeIsMpeg(zip, reporter));
    EXPECT_EQ(shown, std::vector<std::string>{"\"" + zip + "\" is a Zip file!  Try unzipping it."});
}
