// The video control and the parts below it: where the picture goes, file kinds by path,
// the content probe, the control's state machine, the graph each kind of file gets and the
// messages of failed builds, and where the control paints the picture.

#include "clip_fixture.h"
#include "content_probe.h"
#include "file_kind.h"
#include "picture_layout.h"
#include "temp_dir.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>

using namespace clipdeck;
using namespace viewer::testing;

namespace {

std::string write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string contents(const std::string& video) {
    std::ifstream in(fixtureVideo(video), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string code(size_t at, char kind, size_t size = 200) {
    return std::string(size, '\x55').replace(at, 4, std::string("\0\0\x01", 3) + kind);
}

} // namespace

TEST(PictureLayout, CropsCutEqualPartsOfTheOverflowingSidesLetterboxesCentre) {
    auto near = [](const QRectF& a, const QRectF& b) {
        return std::abs(a.left() - b.left()) + std::abs(a.top() - b.top()) +
                   std::abs(a.width() - b.width()) + std::abs(a.height() - b.height()) <
               1e-3;
    };
    // Where a 16:9 picture goes in 320 x 240 after a crop to 400 x 100 and then this one.
    // 256 x 144 scaled by 240/144 is 426.7 wide: 53.3 cut off either side; in 400 x 100 it
    // is 225 high: 62.5 (0.625) cut off above and below; unknown counts as 360 x 280.
    const QRectF box(0, 30, 320, 180);
    // clang-format off
    const struct { int realWidth, realHeight, videoWidth, videoHeight; QRectF drawn; } crops[] = {
        {320, 240, 256, 144, {-160.0 / 3, 0, 1280.0 / 3, 240}},
        {720, 280, 0, 0, {0, -120, 320, 480}},
        {400, 100, 256, 144, {0, -150, 320, 540}}, {360, 280, 0, 0, box}, {512, 288, 256, 144, box},
        {0, 240, 256, 144, box}, {320, 0, 256, 144, box}, {-5, 240, 256, 144, box},
        {320, -1, 256, 144, box}};
    // clang-format on
    for (const auto& c : crops) {
        PictureLayout layout;
        layout.crop(400, 100, 256, 144);
        layout.crop(c.realWidth, c.realHeight, c.videoWidth, c.videoHeight);
        EXPECT_EQ(layout.letterboxed(), c.drawn == box) << c.realWidth << "x" << c.realHeight;
        EXPECT_TRUE(near(layout.target(QSizeF(320, 240), 16.0 / 9), c.drawn))
            << c.realWidth << "x" << c.realHeight;
    }
    // Letterboxed, a picture of no known proportions fills the control.
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        QSizeF size;
        double aspect;
        QRectF drawn;
    } boxes[] = {{{320, 240}, 16.0 / 9, {0, 30, 320, 180}}, {{400, 100}, 2, {100, 0, 200, 100}},
                 {{200, 100}, 2, {0, 0, 200, 100}},         {{320, 240}, 0, {0, 0, 320, 240}},
                 {{320, 240}, -2, {0, 0, 320, 240}},        {{320, 240}, NAN, {0, 0, 320, 240}},
                 {{320, 240}, inf, {0, 0, 320, 240}},       {{0, 240}, 2, {0, 0, 0, 240}}};
    for (const auto& c : boxes) {
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
        EXPECT_EQ(probeIsMpeg(write(dir.file(c.name), c.bytes), reporter), c.mpeg) << c.name;
    }
    EXPECT_FALSE(probeIsMpeg(dir.file("missing"), reporter));
    EXPECT_FALSE(probeIsMpeg(dir.path().string(), reporter));
    // A Zip file says so, its path shown as it stands, never read as a format.
    const std::string zip = write(dir.file("odd %s %n name.mpg"), "PK\x03\x04" + code(10, '\xBA'));
    EXPECT_FALSE(probeIsMpeg(zip, reporter));
    EXPECT_EQ(shown, std::vector<std::string>{"\"" + zip + "\" is a Zip file!  Try unzipping it."});
}

TEST(ControlState, WithoutAGraphNothingHappensAndTheEmptyPictureShows) {
    // Before any file, after a failed open, and after the file name was emptied.
    for (const std::string file : {"", "/nonexistent/missing.mpg", "clip.mpg"}) {
        Clip h;
        CClipdeckCtrl& c = h.ctrl;
        if (!file.empty()) {
            h.open(file);
            c.Play();
            h.pump(100);
        }
        if (file == "clip.mpg") {
            c.setFileName(QString());
        }
        h.clear();
        EXPECT_EQ((std::tuple{c.Play(), c.Stop(), c.Pause(), c.SetRelativeFramePosition(1)}),
                  std::tuple(1, 1, 1, -1));
        c.setCurrentPosition(2.0);
        EXPECT_EQ((std::tuple{c.CurrentPosition(), c.Crop(320, 240), c.Uncrop(), c.playState()}),
                  std::tuple(0.0, 0, 1, 0));
        c.setPlayState(2); // a worker would now post positions; there is none
        h.pump(200);
        EXPECT_TRUE(h.events.empty() && h.messages.empty());
        // A white ellipse touching the edges, unless the failed open left its renderer.
        const QImage image = h.paint();
        EXPECT_EQ(std::pair(image.pixel(160, 120), image.pixel(0, 120)),
                  std::pair(file[0] == '/' ? 0xff000000u : 0xffffffffu, 0xff000000u));
    }
}

TEST(ControlState, EveryMethodFromEveryStateAndPositionWritesOutsideTheFile) {
    Clip h;
    CClipdeckCtrl& c = h.ctrl;
    h.open("silent.mpg");
    EXPECT_EQ(c.playState(), 3);
    // clang-format off
    const std::function<int16_t()> stop = [&] { return c.Stop(); }, play = [&] { return c.Play(); },
        pause = [&] { return c.Pause(); }, step = [&] { return c.SetRelativeFramePosition(1); },
        crop = [&] { return c.Crop(320, 240); }, uncrop = [&] { return c.Uncrop(); },
        write = [&] { return c.setPlayState(1), int16_t{0}; }; // which starts nothing
    // clang-format on
    // Stepping and cropping pause a stopped control; cropping leaves a playing one playing.
    const std::pair<std::function<int16_t()>, int> calls[] = {
        {stop, 1},   {pause, 3}, {play, 2},  {play, 2},   {stop, 1}, {step, 3},
        {stop, 1},   {crop, 3},  {stop, 1},  {uncrop, 3}, {play, 2}, {crop, 2},
        {uncrop, 2}, {step, 3},  {write, 1}, {pause, 3}};
    for (size_t i = 0; i < std::size(calls); ++i) {
        EXPECT_EQ(calls[i].first(), 0) << i;
        EXPECT_EQ(c.playState(), calls[i].second) << i;
    }
    // Position writes before the start or not finite are ignored.
    c.setCurrentPosition(1.0);
    h.settle(0);
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {-1.0, -0.001, std::nan(""), inf, -inf}) {
        c.setCurrentPosition(bad);
    }
    h.pump();
    EXPECT_TRUE(h.events.empty());
    EXPECT_DOUBLE_EQ(c.CurrentPosition(), 1.0);
    // Far past the end: the picture goes to the end, the event carries what was asked
    // in milliseconds, wrapped at 2^32.
    c.setCurrentPosition(1e12);
    h.pump();
    EXPECT_DOUBLE_EQ(c.CurrentPosition(), 5.0);
    EXPECT_EQ(h.events, std::vector<double>{2764472320.0});
    // The same file again starts over, paused on its first frame.
    c.Play();
    h.pump(150);
    h.open("silent.mpg");
    EXPECT_EQ((std::tuple{c.playState(), c.CurrentPosition(), h.frameShown(), c.isModified()}),
              std::tuple(3, 0.0, 0, true));
    EXPECT_TRUE(h.messages.empty());
    // A back end that refuses: each command reports 1 and still sets the state.
    GstElement* broken = gst_element_factory_make("filesrc", "Broken");
    g_object_set(broken, "location", "/nonexistent/broken", nullptr);
    gst_bin_add(GST_BIN(c.pipeline()), broken);
    EXPECT_EQ((std::tuple{play(), c.playState(), stop(), c.playState(), pause(), c.playState()}),
              std::tuple(1, 2, 1, 1, 1, 3));
    EXPECT_EQ(h.messages, (std::vector<std::pair<QString, QString>>(
                              3, {"Video EEG Message", "Failed to stop graph!  hr=0x80004005"})));
}

TEST(Recipes, EachKindOfFileGetsItsElementsOrItsMessages) {
    // A program stream is one with a start code before offset 60, unless it ends like a
    // Targa image; "mpe" names an AVC file whatever its case; a path reaches the back end
    // cut to 259 characters.
    const std::string vmr = "Video Mixing Renderer 9";
    const std::string mpeg =
        "MPEG2 Decoder, MPEG2 Demux, MPEG2 Video Parser, SOURCE, Stream Queue, " + vmr;
    const std::string avc = "AVC Dec, AVC Parser, MPEG2 Demux, SOURCE, Stream Queue, " + vmr;
    const std::string sound = "Audio Decoder, Audio Renderer, ";
    const std::string other = "Decoder, SOURCE, " + vmr;
    const std::string wmv = "ASF Reader, Stream Queue, " + vmr + ", WMV Decoder DMO;";
    const std::string asfSound =
        "ASF Reader, Audio Renderer, Stream Queue, " + vmr + ", WMA Decoder DMO;, WMV Decoder DMO;";
    TempDir dir;
    const std::string zip = write(dir.file("zip.mpg"), "PK\x03\x04" + std::string(400, 'z'));
    const std::string silent = contents("silent.mpg");
    const std::string render = "Video EEG Message: FAILED(hr=0x80040265) in pFG->RenderEx("
                               "pOutputPin, AM_RENDEREX_RENDERTOEXISTINGRENDERERS, NULL)\n\n";
    const std::string load =
        "Failed to render file to VMR9: Failed to load the file to the graph!  "
        "hr=0x80070002\r\n\r\nFilename: ";
    const std::string missing = dir.file("missing %s.mpg");
    const std::string longPath = dir.file(std::string(300, 'n') + ".mpg");
    const std::string tga("TRUEVISION-XFILE.\0", 18);
    const std::string u20(20, 'U');
    // clang-format off
    const std::string cases[][3] = {
        {"clip.mpg", sound + mpeg, ""}, {"silent.mpg", mpeg, ""}, {"clip.dat", mpeg, ""},
        {"sound.mts", "AVC Dec, AVC Parser, " + sound + "MPEG2 Demux, SOURCE, Stream Queue, " + vmr,
         ""},
        {"clip.mts", avc, ""}, {write(dir.file("clip.MPE"), contents("clip.mts")), avc, ""},
        {"clip.wmv", asfSound, ""}, {"silent.wmv", wmv, ""}, {"clip.avi", other, ""},
        {write(dir.file("late.mpg"), std::string(60, 'U') + silent), other, ""},
        {write(dir.file("early.mpg"), u20 + silent), mpeg, ""},
        {write(dir.file("tga.mpg"), u20 + silent + tga), other, ""},
        {zip, "Audio Renderer, " + other,
         "Video EEG Message: \"" + zip + "\" is a Zip file!  Try unzipping it.\n" + render},
        {write(dir.file("tiny.mpg"), "0123456789"), "", render},
        {missing, vmr, load + missing + "\n"},
        {longPath, vmr, load + longPath.substr(0, 259) + "\n"},
        {dir.file("missing.wmv"), "",
         "Video EEG Message: FAILED(hr=0x80070002) in g_pFileSource->Load(wFile, NULL)\n\n"}};
    // clang-format on
    for (const auto& [file, names, messages] : cases) {
        Clip h;
        h.open(file);
        EXPECT_EQ(h.ctrl.playState(), messages.empty() ? 3 : 0) << file;
        QStringList elements = h.ctrl.graphElementNames();
        elements.sort();
        EXPECT_EQ(names.empty() ? "" : elements.join(", ").toStdString(), names) << file;
        std::string shown;
        for (const auto& [caption, text] : h.messages) {
            shown += (caption + ": " + text + "\n").toStdString();
        }
        EXPECT_EQ(shown, messages) << file;
    }
}

TEST(Painting, PictureLetterboxedOrCroppedFollowsTheControl) {
    // Control size, crop, and where picture point (x, y) lands: (x * scale + left, y * scale
    // + top). 256 x 144 in 320 x 240 is scaled by 1.25 with 30-row bars; cropped, by 5/3
    // with 53.3 columns cut off either side; 320 x 90 cropped, by 1.25 with 45 rows cut
    // above; cropped to its own proportions it stays letterboxed.
    // clang-format off
    const struct { int width, height, cropWidth, cropHeight; double scale, left, top; } cases[] = {
        {320, 240, 0, 0, 1.25, 0, 30}, {320, 240, 320, 240, 5.0 / 3, -160.0 / 3, 0},
        {320, 90, 320, 90, 1.25, 0, -45}, {320, 240, 512, 288, 1.25, 0, 30}};
    // clang-format on
    Clip h;
    h.open("silent.mpg");
    h.ctrl.setCurrentPosition(2.0);
    for (const auto& c : cases) {
        h.ctrl.resize(c.width, c.height);
        EXPECT_EQ(c.cropWidth ? h.ctrl.Crop(c.cropWidth, c.cropHeight) : h.ctrl.Uncrop(), 0);
        const QImage image = h.paint();
        // Red and green tell the picture point, a few levels off after compression; rows
        // 40 to 60 and 118 to 143 are free of the burnt-in bars and digits.
        for (const QPointF p : {QPointF(40, 50), QPointF(200, 50), QPointF(40, 130)}) {
            const QPoint at = (p * c.scale + QPointF(c.left, c.top)).toPoint();
            const QRgb pixel = image.valid(at) ? image.pixel(at) : 0;
            EXPECT_TRUE(!image.valid(at) || (std::abs(qRed(pixel) * 256 / 255.0 - p.x()) < 5 &&
                                             std::abs(qGreen(pixel) * 144 / 255.0 - p.y()) < 5))
                << at.x() << "," << at.y();
        }
        // Black bars where the picture does not reach the edges.
        const QRectF picture(c.left, c.top, 256 * c.scale, 144 * c.scale);
        for (const QPoint e : {QPoint(c.width / 2, 1), QPoint(c.width / 2, c.height - 2),
                               QPoint(1, c.height / 2), QPoint(c.width - 2, c.height / 2)}) {
            const QRgb p = image.pixel(e);
            EXPECT_EQ(qRed(p) + qGreen(p) + qBlue(p) < 24, !picture.contains(e))
                << e.x() << "," << e.y();
        }
    }
    EXPECT_EQ(h.frameShown(), 50);
    EXPECT_TRUE(h.ctrl.playState() == 3 && h.messages.empty());
}
