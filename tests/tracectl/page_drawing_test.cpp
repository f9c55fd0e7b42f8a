// The page layer read pixel by pixel: traces at their scaled height in their colours, value
// numbers, lines that draw nothing, the empty control and the not-a-trace-file picture.

#include "drawing_fixture.h"

#include <QPixmap>
#include <fstream>
#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

// 6400 uV over 65536 steps at 50 pixels per cm and 100 uV per cm.
constexpr double kPixelsPerStep = 6400.0 / 65536.0 * 50.0 / 100.0;

TEST(PageDrawing, TracesLieAtTheirScaledHeightInTheirLinesColours) {
    DrawingFixture f;
    f.show();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage& page = f.ctrl.pageLayer();
    ASSERT_EQ(page.size(), QSize(1000, 600));
    EXPECT_EQ(f.ctrl.rowCentre(), (std::vector<int32_t>{50, 150, 250, 350, 450, 550}));

    // Line 0, +1000 steps: a flat line 48 pixels above its row centre, across the page.
    const int y0 = f.row(0) - static_cast<int>(kLine0Steps * kPixelsPerStep);
    EXPECT_EQ(y0, 2);
    const QRgb darkRed = f.colour(10);
    EXPECT_EQ(darkRed, qRgb(0x80, 0, 0));
    for (int x = 0; x < page.width(); ++x) {
        ASSERT_EQ(page.pixel(x, y0), darkRed) << x;
    }
    EXPECT_EQ(DrawingFixture::columnsWith(page, darkRed, 0, 599).size(), 1000u);
    EXPECT_NE(page.pixel(500, y0 + 1), darkRed);

    // Line 1, -2000 steps: below its row centre.
    const int y1 = f.row(1) - static_cast<int>(kLine1Steps * kPixelsPerStep);
    EXPECT_EQ(y1, 150 + 97);
    EXPECT_EQ(page.pixel(700, y1), f.colour(28));

    // Line 5 (input 174) keeps its own gain of 50: twice the deflection.
    const int y5 = f.row(5) - static_cast<int>(kLine0Steps * kPixelsPerStep * 2.0);
    EXPECT_EQ(page.pixel(300, y5), f.colour(40));
}

TEST(PageDrawing, LinesWithoutInputOrNotAcquiredDrawNothing) {
    DrawingFixture f;
    f.show();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage& page = f.ctrl.pageLayer();
    const QImage& layer = f.ctrl.staticLayer();
    // Rows 2 (no input) and 3 (C4 not acquired) hold only what the static layer holds, below
    // line 1's trace, which runs 97 pixels under its own row centre.
    for (int y = 250; y < 400; ++y) {
        for (int x = 0; x < page.width(); ++x) {
            ASSERT_EQ(page.pixel(x, y), layer.pixel(x, y)) << x << "," << y;
        }
    }
    // ... which for line 3 is its label and "Not Present".
    EXPECT_FALSE(DrawingFixture::columnsWith(layer, qRgb(0, 128, 128), 340, 360).empty());
}

TEST(PageDrawing, AValueLineShowsANumberEveryTwoSeconds) {
    DrawingFixture f;
    f.show();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage& page = f.ctrl.pageLayer();
    const QRgb purple = f.colour(46);
    const std::set<int> xs = DrawingFixture::columnsWith(page, purple, 420, 480);
    ASSERT_FALSE(xs.empty());
    // "100" at 0, 2, 4, 6 and 8 s: five groups of ink 200 pixels apart, none in between.
    for (int t = 0; t < 10; t += 2) {
        const int x = t * 100;
        EXPECT_TRUE(xs.count(x) || xs.count(x + 1) || xs.count(x + 2)) << t;
        for (int gap = x + 60; gap < x + 200; ++gap) {
            EXPECT_FALSE(xs.count(gap)) << gap;
        }
    }
    // No trace either: no ink on the row centre past the numbers.
    EXPECT_FALSE(DrawingFixture::columnsWith(page, purple, 450, 450).count(150));
}

TEST(PageDrawing, TracesStartAtTheLabelColumnWhenItIsShown) {
    DrawingFixture f;
    f.show();
    f.ctrl.setTraceOverLabel(false);
    const int32_t width = f.ctrl.GetMaxLarghEtichette();
    EXPECT_GT(width, 10);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const std::set<int> xs = DrawingFixture::columnsWith(f.ctrl.pageLayer(), f.colour(10), 0, 5);
    ASSERT_FALSE(xs.empty());
    EXPECT_EQ(*xs.begin(), width);
    f.ctrl.setTraceOverLabel(true);
    EXPECT_EQ(f.ctrl.GetMaxLarghEtichette(), 0);
}

TEST(PageDrawing, ZeroGainAndHugeValuesStayDrawable) {
    RecordingDescription d = flatRecording();
    d.montages[0].gain[0] = 0;
    d.montages[0].gain[1] = 1; // 2000 steps at 1 uV per cm: far beyond the layer
    DrawingFixture f;
    f.show(d);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage& page = f.ctrl.pageLayer();
    EXPECT_EQ(DrawingFixture::columnsWith(page, f.colour(10), 50, 50).size(), 1000u);
    EXPECT_TRUE(DrawingFixture::columnsWith(page, f.colour(10), 0, 49).empty());
    EXPECT_TRUE(DrawingFixture::columnsWith(page, f.colour(28), 0, 599).empty());
}

TEST(PageDrawing, AnEmptyMontageDrawsNothingAndFiresNothing) {
    DrawingFixture f;
    ASSERT_EQ(f.open(flatRecording()), 0); // no montage chosen yet
    const QImage before = f.ctrl.pageLayer();
    EXPECT_FALSE(f.ctrl.DrawPage(0));
    f.ctrl.Redraw(true);
    EXPECT_EQ(f.ctrl.pageLayer(), before);
    EXPECT_EQ(f.deletes, 0);
    EXPECT_TRUE(f.notes.empty());
}

TEST(PageDrawing, NotATraceFileShowsThePictureAndedIntoTheCentre) {
    DrawingFixture f;
    f.ctrl.setBackColor(0x000FFFF0); // OLE 0x00BBGGRR: red F0, green FF, blue 0F
    const std::string junk = f.dir.file("junk.vwr");
    {
        std::ofstream out(junk, std::ios::binary);
        out << std::string(4000, 'x');
    }
    EXPECT_EQ(f.ctrl.FileName(QString::fromStdString(junk)), -1);
    ASSERT_TRUE(f.ctrl.recording().fileInvalid);
    const QImage shown = f.ctrl.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(1000, 600));
    const QImage picture = QImage(QStringLiteral(":/tracectl/not_trace_file.png"))
                               .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(295, 216));
    const QRgb background = qRgb(0xF0, 0xFF, 0x0F);
    const int left = (1000 - 295) / 2;
    const int top = (600 - 216) / 2;
    int differing = 0;
    for (int y = 0; y < 216; ++y) {
        for (int x = 0; x < 295; ++x) {
            const QRgb expected = picture.pixel(x, y) & background;
            ASSERT_EQ(shown.pixel(left + x, top + y), expected) << x << "," << y;
            differing += expected != background ? 1 : 0;
        }
    }
    EXPECT_GT(differing, 1000); // the picture really shows
    EXPECT_EQ(shown.pixel(left - 1, top), background);
    EXPECT_EQ(shown.pixel(left, top + 216), background);

    // A good file clears it.
    DrawingFixture good;
    ASSERT_EQ(f.open(flatRecording()), 0);
    f.ctrl.setNumMont(30);
    f.ctrl.DrawPage(0);
    const QImage page = f.ctrl.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(page, f.ctrl.pageLayer());
}

TEST(PageDrawing, WithoutAFileTheControlShowsItsBackground) {
    DrawingFixture f;
    f.ctrl.setBackColor(0x00203040);
    const QImage shown = f.ctrl.grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0), qRgb(0x40, 0x30, 0x20));
    EXPECT_EQ(shown.pixel(500, 300), qRgb(0x40, 0x30, 0x20));
}

TEST(PageDrawing, LinePerChannelRecordingsDrawChannelIWithoutLabels) {
    RecordingDescription d = flatRecording();
    d.fileType = 128;
    // Line 0 names Fp2 and line 1 Fp1, but these recordings draw channel i on line i.
    d.montages[0].inputA[0] = 2;
    d.montages[0].inputA[1] = 1;
    DrawingFixture f;
    f.show(d);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage& page = f.ctrl.pageLayer();
    EXPECT_EQ(page.pixel(500, f.row(0) - 48), f.colour(10));
    EXPECT_EQ(page.pixel(500, f.row(1) + 97), f.colour(28));
    EXPECT_TRUE(
        DrawingFixture::columnsWith(f.ctrl.staticLayer(), qRgb(0, 128, 128), 0, 599).empty());
}

} // namespace
} // namespace viewer::testing
