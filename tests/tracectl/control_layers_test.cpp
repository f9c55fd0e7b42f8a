// The layers over the control's life: size changes redraw from the page already read, the
// pictures and colours the control is built with, painting and the border.

#include "drawing_fixture.h"

#include <QPixmap>
#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

TEST(ControlLayers, ASizeChangeRedrawsFromThePageAlreadyRead) {
    DrawingFixture f;
    f.show();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    // The file now holds other samples; a size change must not read them.
    RecordingDescription changed = flatRecording();
    changed.sample = [](int64_t, int) { return 32768; };
    writeRecording(f.dir.file("rec.vwr"), changed);

    f.ctrl.show();
    f.ctrl.resize(800, 900);
    ASSERT_EQ(f.ctrl.pageLayer().size(), QSize(800, 900));
    ASSERT_EQ(f.ctrl.staticLayer().size(), QSize(800, 900));
    EXPECT_EQ(f.ctrl.rowCentre(), (std::vector<int32_t>{75, 225, 375, 525, 675, 825}));
    EXPECT_EQ(f.deletes, 2); // the traces were drawn again
    const int y0 = f.row(0) - 48;
    EXPECT_EQ(f.ctrl.pageLayer().pixel(799, 0), f.ctrl.staticLayer().pixel(799, 0));
    EXPECT_EQ(DrawingFixture::columnsWith(f.ctrl.pageLayer(), f.colour(10), y0, y0).size(), 800u);
    EXPECT_TRUE(DrawingFixture::columnsWith(f.ctrl.pageLayer(), f.colour(10), 0, y0 - 1).empty());
    // Painting copies the page layer.
    EXPECT_EQ(f.ctrl.grab().toImage().convertToFormat(QImage::Format_RGB32), f.ctrl.pageLayer());

    // Reading the page again shows the new samples: line 0 on its row centre.
    f.ctrl.Redraw(true);
    EXPECT_EQ(f.ctrl.pageLayer().pixel(400, f.row(0)), f.colour(10));
    EXPECT_NE(f.ctrl.pageLayer().pixel(400, y0), f.colour(10));
}

TEST(ControlLayers, PaintingAfterASizeChangeOfAHiddenControlFollowsIt) {
    DrawingFixture f;
    f.show();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    f.ctrl.resize(640, 480);
    const QImage shown = f.ctrl.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.size(), QSize(640, 480));
    EXPECT_EQ(f.ctrl.pageLayer().size(), QSize(640, 480));
    EXPECT_EQ(shown, f.ctrl.pageLayer());
}

TEST(ControlLayers, ASingleBorderTakesAPixelFromEachSide) {
    DrawingFixture f;
    f.show();
    f.ctrl.setBorderStyle(1);
    EXPECT_EQ(f.ctrl.clientSize(), QSize(998, 598));
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.ctrl.pageLayer().size(), QSize(998, 598));
    const QImage shown = f.ctrl.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixel(0, 300), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(999, 300), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(500, 1 + f.row(0) - 48), f.colour(10));
    f.ctrl.setBorderStyle(0);
    EXPECT_EQ(f.ctrl.clientSize(), QSize(1000, 600));
}

TEST(ControlLayers, PicturesAndColoursComeWithTheControl) {
    const QImage marker(QStringLiteral(":/tracectl/warning.png"));
    ASSERT_EQ(marker.size(), QSize(14, 15));
    int yellow = 0;
    int dark = 0;
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 14; ++x) {
            const QColor c = marker.pixelColor(x, y);
            yellow += c.red() > 200 && c.green() > 200 && c.blue() < 80 ? 1 : 0;
            dark += c.lightness() < 80 ? 1 : 0;
        }
    }
    EXPECT_GT(yellow, 100);
    EXPECT_GT(dark, 10); // the exclamation mark
    EXPECT_EQ(QImage(QStringLiteral(":/tracectl/not_trace_file.png")).size(), QSize(295, 216));

    CViewerCtrl ctrl;
    const TraceColours& c = ctrl.traceColours();
    EXPECT_EQ(c[0], qRgb(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(c[5], qRgb(0, 0, 0));
    EXPECT_EQ(c[12], c[6]);
    EXPECT_EQ(c[14], qRgb(0xFF, 0x80, 0x00));
    EXPECT_EQ(c[33], qRgb(0x00, 0xC0, 0xC0));
    EXPECT_EQ(c[47], qRgb(0x40, 0x00, 0x40));
}

TEST(ControlLayers, TheMarkerStandsOnLinesOffThePrevailingSettings) {
    RecordingDescription d = flatRecording();
    d.montages[0].lowPass[1] = 3000;
    DrawingFixture f;
    f.show(d);
    const QImage marker =
        QImage(QStringLiteral(":/tracectl/warning.png")).convertToFormat(QImage::Format_RGB32);
    const QImage& layer = f.ctrl.staticLayer();
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 14; ++x) {
            ASSERT_EQ(layer.pixel(1 + x, f.row(1) + y), marker.pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_NE(layer.copy(1, f.row(0), 14, 15), marker);
    EXPECT_NE(layer.copy(1, f.row(3), 14, 15), marker);
}

} // namespace
} // namespace viewer::testing
