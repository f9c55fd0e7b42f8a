// The control: its interface and state machine, the graph each kind of file gets and the
// messages of failed builds, and where it paints the picture.

#include "clip_fixture.h"
#include "temp_dir.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

using namespace viewer::testing;

TEST(ControlState, WithoutAGraphNothingHappensAndTheEmptyPictureShows) {
    // Before any file, after a failed open, and after the file name was emptied.
    for (const std::string file : {"", "/nonexistent/missing.mpg", "clip.mpg"}) {
        Clip h;
        CClipdeckCtrl& c = h.ctrl;
        if (!file.empty()) {
            h.open(file);
            c.Play();
        }
        if (file == "clip.mpg") {
            h.pump(100);
            c.setFileName(QString());
            EXPECT_EQ(c.pipeline(), nullptr);
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
        EXPECT_EQ(std::tuple(image.pixel(160, 120), image.pixel(0, 0), image.pixel(0, 120)),
                  std::tuple(file[0] == '/' ? 0xff000000u : 0xffffffffu, image.pixel(160, 120),
                             0xff000000u))
            << file;
    }
}

TEST(ControlState, EveryMethodFromEveryStateAndPositionWritesOutsideTheFile) {
    Clip h;
    CClipdeckCtrl& c = h.ctrl;
    h.open("silent.mpg");
    EXPECT_EQ(c.playState(), 3);
    using Call = std::function<int16_t()>;
    const Call stop = [&] { return c.Stop(); };
    const Call pause = [&] { return c.Pause(); };
    const Call play = [&] { return c.Play(); };
    const Call step = [&] { return c.SetRelativeFramePosition(1); };
    const Call crop = [&] { return c.Crop(320, 240); };
    const Call uncrop = [&] { return c.Uncrop(); };
    const Call write = [&] { return c.setPlayState(1), int16_t{0}; }; // starts nothing
    // Stepping and cropping pause a stopped control; cropping leaves a playing one playing.
    const std::pair<Call, int> calls[] = {{stop, 1},   {pause, 3},  {play, 2},  {play, 2},
                                          {stop, 1},   {step, 3},   {stop, 1},  {crop, 3},
                                          {stop, 1},   {uncrop, 3}, {play, 2},  {crop, 2},
                                          {uncrop, 2}, {step, 3},   {write, 1}, {pause, 3}};
    for (size_t i = 0; i < std::size(calls); ++i) {
        EXPECT_EQ(calls[i].first(), 0) << i;
        EXPECT_EQ(c.playState(), calls[i].second) << i;
    }
    // Position writes before the start or not finite are ignored.
    c.setCurrentPosition(1.0);
    h.pump();
    h.clear();
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

namespace {

std::string copyOf(const std::string& video, const std::string& path, const std::string& before,
                   const std::string& after = "") {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ifstream in(fixtureVideo(video), std::ios::binary);
    std::ofstream(path, std::ios::binary) << before << in.rdbuf() << after;
    return path;
}

} // namespace

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
    const std::string zip = dir.file("zip.mpg");
    std::ofstream(zip, std::ios::binary) << "PK\x03\x04" << std::string(400, 'z');
    std::ofstream(dir.file("tiny.mpg"), std::ios::binary) << "0123456789";
    const std::string render = "Video EEG Message: FAILED(hr=0x80040265) in pFG->RenderEx("
                               "pOutputPin, AM_RENDEREX_RENDERTOEXISTINGRENDERERS, NULL)\n\n";
    const std::string load =
        "Failed to render file to VMR9: Failed to load the file to the graph!  "
        "hr=0x80070002\r\n\r\nFilename: ";
    const std::string missing = dir.file("missing %s.mpg");
    const std::string longPath = dir.file(std::string(300, 'n') + ".mpg");
    const std::string tga("TRUEVISION-XFILE.\0", 18);
    const std::string cases[][3] = {
        {"clip.mpg", sound + mpeg, ""},
        {"silent.mpg", mpeg, ""},
        {"clip.dat", mpeg, ""},
        {"sound.mts", "AVC Dec, AVC Parser, " + sound + "MPEG2 Demux, SOURCE, Stream Queue, " + vmr,
         ""},
        {"clip.mts", avc, ""},
        {copyOf("clip.mts", dir.file("clip.MPE"), ""), avc, ""},
        {"clip.wmv", asfSound, ""},
        {"silent.wmv", wmv, ""},
        {"clip.avi", other, ""},
        {copyOf("silent.mpg", dir.file("late.mpg"), std::string(60, 'U')), other, ""},
        {copyOf("silent.mpg", dir.file("early.mpg"), std::string(20, 'U')), mpeg, ""},
        {copyOf("silent.mpg", dir.file("tga.mpg"), std::string(20, 'U'), tga), other, ""},
        {zip, "Audio Renderer, " + other,
         "Video EEG Message: \"" + zip + "\" is a Zip file!  Try unzipping it.\n" + render},
        {dir.file("tiny.mpg"), "", render},
        {missing, vmr, load + missing + "\n"},
        {longPath, vmr, load + longPath.substr(0, 259) + "\n"},
        {dir.file("missing.wmv"), "",
         "Video EEG Message: FAILED(hr=0x80070002) in g_pFileSource->Load(wFile, NULL)\n\n"}};
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
    const struct {
        int width, height, cropWidth, cropHeight;
        double scale, left, top;
    } cases[] = {{320, 240, 0, 0, 1.25, 0, 30},
                 {320, 240, 320, 240, 5.0 / 3, -160.0 / 3, 0},
                 {320, 90, 320, 90, 1.25, 0, -45},
                 {320, 240, 512, 288, 1.25, 0, 30}};
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
    EXPECT_EQ(h.ctrl.playState(), 3);
    EXPECT_TRUE(h.messages.empty());
}
