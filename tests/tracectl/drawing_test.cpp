// Drawing: line scaling, sample positions, polylines and value numbers, then the control's
// layers read pixel by pixel: traces at their scaled height in their colours, the static
// layer's labels, grids and markers, sizes and borders, the not-a-trace-file picture and the
// note events of each drawing.

#include "column_reducer.h"
#include "fixture.h"
#include "polyline_raster.h"
#include "trace_geometry.h"
#include "value_numbers.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <random>

namespace viewer::testing {
namespace {

TEST(TraceGeometry, PixelsPerStepFollowsCalibrationScreenAndGain) {
    EXPECT_DOUBLE_EQ(pixelsPerCm(1080), 54.0);
    DerivationRecord r;
    r.logicMax = 65535;
    r.physicalMin = -3200;
    r.physicalMax = 3200;
    // 6400 uV over 65536 steps at 54 pixels per cm and 100 uV per cm: 6400 x 54 / 6553600.
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
    } cases[] = {
        {100, 100.0f, 0.5, 50},    {100, -100.0f, 0.5, 150},       {100, 5.9f, 1.0, 95},
        {100, -5.9f, 1.0, 105},    {100, 1e30f, 1.0, -32768},      {100, -1e30f, 1.0, 32767},
        {100, inf, 1.0, -32768},   {100, std::nanf(""), 1.0, 100}, {32000, -40000.0f, 1.0, 32767},
        {200, 12345.0f, 0.0, 200}, {70000, 65536.7f, 1.0, 4464},   {7, -0.9f, 1.0, 7}};
    for (const auto& c : cases) {
        EXPECT_EQ(traceY(c.row, c.value, c.k), c.y) << c.value;
        const float three[] = {c.value, c.value, c.value}; // two at a time and one alone
        std::vector<int32_t> ys(3);
        EXPECT_EQ(traceYs(three, c.row, c.k, ys), c.y);
        EXPECT_EQ(ys, std::vector<int32_t>(3, c.y)) << c.value;
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
    EXPECT_EQ(draw(4, {{0, 0}, {3, 1}}), (std::vector<QPoint>{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(draw(40, {{30, 10}, {0, 4}}).size(), 31u); // one pixel per column
    const std::vector<QPoint> steep = draw(40, {{5, 2}, {8, 30}});
    ASSERT_EQ(steep.size(), 29u); // one pixel per row
    for (const QPoint& p : steep) {
        EXPECT_EQ(p.x(), 5 + static_cast<int>(std::floor((p.y() - 2) * 3.0 / 28.0 + 0.5)));
    }
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

TEST(Polyline, ColumnRunsDrawWhatTheReducedPolylineDraws) {
    // Random walks and jumps over layers wider and narrower than the samples, traces running
    // right to left, off the layer and in a single column, drawn both ways on 60 x 50 layers.
    const struct {
        int label, width;
        uint32_t samples;
        int spread;
    } cases[] = {{5, 50, 400, 6},    {5, 50, 51, 30}, {0, 60, 7, 80}, {-20, 100, 300, 200},
                 {55, -50, 200, 10}, {10, 0, 50, 40}, {3, 50, 1, 5},  {5, 50, 2, 100}};
    std::mt19937 random(18);
    for (const auto& c : cases) {
        for (int run = 0; run < 20; ++run) {
            std::uniform_int_distribution<int> step(-c.spread, c.spread);
            ColumnReducer reducer(c.samples);
            QImage expected(60, 50, QImage::Format_RGB32);
            expected.fill(Qt::white);
            QImage drawn = expected.copy();
            SampleXWalk walk(c.label, c.width, c.samples);
            std::vector<int32_t> ys;
            for (uint32_t i = 0; i < c.samples; ++i, walk.next()) {
                ys.push_back(std::clamp((ys.empty() ? 25 : ys.back()) + step(random), -40, 90));
                reducer.add(walk.x(), ys.back());
            }
            drawPolylineRgb32(expected, reducer.points(), kInk);
            SampleColumns columns;
            columns.build(c.label, c.width, c.samples, c.samples);
            drawTraceRgb32(drawn, ys, columns, kInk);
            ASSERT_EQ(drawn, expected) << c.label << " " << c.width << " " << c.samples;
        }
    }
}

TEST(PageDrawing, TracesLieAtTheirScaledHeightInTheirLinesColours) {
    Ctrl f;
    f.show();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage& page = f.ctrl.pageLayer();
    // Rows at 50, 150, ..., 550; 6400 uV over 65536 steps at 50 pixels per cm and 100 uV per
    // cm: 0.0488 pixels a step. Line 0, 1000 steps up: 48 pixels above its row, flat across.
    EXPECT_EQ(columnsWith(page, kDarkRed, 2, 2).size(), 1000u);
    EXPECT_TRUE(columnsWith(page, kDarkRed, 3, 599).empty());
    EXPECT_EQ(page.pixel(700, 150 + 97), kGreen); // line 1, 2000 steps down
    EXPECT_EQ(page.pixel(300, 550 - 97), kNavy);  // line 5: gain 50, twice the deflection
    // Rows 2 (no input) and 3 (C4 not acquired) hold only the static layer: label, "Not Present".
    EXPECT_EQ(page.copy(0, 250, 1000, 150), f.ctrl.staticLayer().copy(0, 250, 1000, 150));
    // The value line: "100" at 0, 2, 4, 6 and 8 s, nothing in between and no trace.
    const std::set<int> xs = columnsWith(page, kPurple, 420, 480);
    for (int x = 0; x < 1000; x += 200) {
        EXPECT_TRUE(xs.count(x) || xs.count(x + 1) || xs.count(x + 2)) << x;
        EXPECT_TRUE(xs.lower_bound(x + 60) == xs.lower_bound(x + 200)) << x;
    }
}

// Traces are rasterised when the page layer is looked at: a drawing replaced before the
// look leaves nothing, and what changes after a drawing (gain, filters, grid, the static
// layer) does not reach it, as the layer keeps its content until the next drawing.
TEST(PageDrawing, TheLayerShowsTheLastDrawingAsItWasWhateverChangedSince) {
    RecordingDescription d = flatRecording();
    d.sample = [](int64_t frame, int channel) {
        return channel == 4 ? static_cast<int32_t>(frame % 900)
                            : static_cast<int32_t>(32768 + (frame * (5 + channel)) % 5000 - 2500);
    };
    Ctrl looked;
    looked.show(d);
    ASSERT_TRUE(looked.ctrl.DrawPage(3));
    const QImage expected = looked.ctrl.pageLayer().copy();
    Ctrl later;
    later.show(d);
    ASSERT_TRUE(later.ctrl.DrawPage(12));
    ASSERT_TRUE(later.ctrl.DrawPage(3));
    later.ctrl.SetGainEEG(20);
    later.ctrl.SetHighFilterEEG(530);
    later.ctrl.setGridType(3);
    EXPECT_EQ(later.ctrl.pageLayer(), expected);
    EXPECT_EQ(later.deletes, 2) << "each drawing reports its notes";
    ASSERT_TRUE(later.ctrl.DrawPage(3));
    EXPECT_NE(later.ctrl.pageLayer(), expected) << "the next drawing takes the new settings";
}

// A calibrated screen: a wave of N µV is N / gain centimetres tall at the pixels per
// centimetre measured; without a calibration the display is 200 mm tall again.
TEST(PageDrawing, GainsAreTrueAtTheCalibratedPixelsPerCentimetre) {
    Ctrl f;
    f.show();
    for (const double pixelsPerCm : {38.0, 45.5, 0.0}) {
        f.ctrl.setPixelsPerCm(pixelsPerCm);
        EXPECT_EQ(f.ctrl.calibrated(), pixelsPerCm > 0.0);
        const double used = pixelsPerCm > 0.0 ? pixelsPerCm : 50.0;
        EXPECT_DOUBLE_EQ(f.ctrl.pixelsPerCentimetre(), used);
        ASSERT_TRUE(f.ctrl.DrawPage(0));
        // Line 0: 1000 steps of 6400 / 65536 µV above its row at 100 µV/cm.
        const double microvolts = 1000 * 6400.0 / 65536.0;
        const int height = static_cast<int>(microvolts / 100.0 * used);
        EXPECT_EQ(columnsWith(f.ctrl.pageLayer(), kDarkRed, 50 - height, 50 - height).size(), 1000u)
            << pixelsPerCm;
        EXPECT_NEAR(height / used, microvolts / 100.0, 1.0 / used) << "centimetres at that screen";
    }
    f.ctrl.setPixelsPerCm(std::nan(""));
    EXPECT_FALSE(f.ctrl.calibrated());
}

TEST(PageDrawing, APageDrawnAfterOthersIsThePageDrawnAfresh) {
    // Waves that swing past their rows, and a value line: each page drawn over the last one
    // (which copies back only what the last drawing changed) must equal the page drawn by a
    // control that drew nothing before. Pages of 2 s have fewer samples than pixels.
    RecordingDescription d = flatRecording();
    d.sample = [](int64_t frame, int channel) {
        return channel == 4 ? static_cast<int32_t>(frame % 900)
                            : static_cast<int32_t>(32768 + (frame * (7 + channel)) % 6000 - 3000);
    };
    const struct {
        float seconds;
        int32_t sec;
    } pages[] = {{10, 0}, {10, 10}, {10, 3}, {2, 4}, {2, 6}, {2, 27}, {10, 20}};
    Ctrl f;
    f.show(d);
    for (const auto& page : pages) {
        if (f.ctrl.model().pageSeconds() != page.seconds) {
            f.ctrl.SetSecNumber(page.seconds); // draws the static layer anew
        }
        ASSERT_TRUE(f.ctrl.DrawPage(page.sec));
        Ctrl fresh;
        fresh.show(d);
        fresh.ctrl.SetSecNumber(page.seconds);
        ASSERT_TRUE(fresh.ctrl.DrawPage(page.sec));
        EXPECT_EQ(f.ctrl.pageLayer(), fresh.ctrl.pageLayer())
            << page.seconds << " s at " << page.sec;
    }
}

TEST(PageDrawing, AValueNumberIsNeverDrawnPastThePagesFrames) {
    RecordingDescription d = flatRecording();
    d.rate = 10;
    Ctrl f;
    f.show(d);
    EXPECT_FLOAT_EQ(f.ctrl.SetSecNumber(2.05f), 2.05f); // 20 frames: second 2 lies past them
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const std::set<int> xs = columnsWith(f.ctrl.pageLayer(), kPurple, 420, 480);
    ASSERT_FALSE(xs.empty());
    EXPECT_LT(*xs.rbegin(), 100);
}

TEST(PageDrawing, LinePerChannelRecordingsDrawChannelIWithoutLabels) {
    RecordingDescription d = flatRecording();
    d.fileType = 128;
    d.montages[0].inputA[0] = 2; // names Fp2, draws channel 0
    d.montages[0].inputA[1] = 1;
    Ctrl f;
    f.show(d);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.ctrl.pageLayer().pixel(500, 2), kDarkRed);
    EXPECT_EQ(f.ctrl.pageLayer().pixel(500, 247), kGreen);
    EXPECT_TRUE(columnsWith(f.ctrl.staticLayer(), kLabelInk, 0, 599).empty());
}

TEST(StaticLayer, LabelColumnGridsMarkersAndNotPresentBesideZeroAndHugeGains) {
    RecordingDescription d = flatRecording();
    d.montages[0].gain[0] = 0;
    d.montages[0].gain[1] = 1; // 2000 steps at 1 uV per cm: far beyond the layer
    d.montages[0].lowPass[1] = 3000;
    Ctrl f;
    f.show(d);
    f.ctrl.setTraceOverLabel(false);
    f.ctrl.setGridColor(0x000000FF);
    f.ctrl.setGridType(1); // baselines: dots every third pixel from the label column
    const int32_t label = f.ctrl.GetMaxLarghEtichette();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage& page = f.ctrl.pageLayer();
    const std::set<int> xs = columnsWith(page, kDarkRed, 0, 599); // on its row from the label
    EXPECT_EQ(xs, columnsWith(page, kDarkRed, 50, 50));
    EXPECT_EQ(xs.size(), 1000u - label);
    EXPECT_EQ(*xs.begin(), label);
    EXPECT_TRUE(columnsWith(page, kGreen, 0, 599).empty());
    const QImage& layer = f.ctrl.staticLayer();
    const QRgb red = qRgb(255, 0, 0);
    for (int x = label; x < 1000; ++x) {
        ASSERT_EQ(layer.pixel(x, 150) == red, (x - label) % 3 == 0) << x;
    }
    // Label ink from x = 4 to the widest label's end, 10 pixels short of the column, and
    // "Not Present" 120 pixels right of the column on line 3 only.
    const std::set<int> ink = columnsWith(layer, kLabelInk, 0, 599);
    EXPECT_TRUE(*ink.begin() >= 4 && *std::prev(ink.lower_bound(label)) < label - 6);
    EXPECT_EQ(*ink.lower_bound(label), *columnsWith(layer, kLabelInk, 340, 360).lower_bound(label));
    EXPECT_TRUE(*ink.lower_bound(label) >= label + 120 && *ink.lower_bound(label) < label + 130);
    EXPECT_TRUE(markerAt(layer, f.row(1))); // off the prevailing low-pass
    f.ctrl.setTraceOverLabel(true);
    EXPECT_EQ(f.ctrl.GetMaxLarghEtichette(), 0);
    f.ctrl.setGridType(2); // time: five lines a second, whole seconds denser
    EXPECT_EQ(columnsWith(layer, red, 0, 599).size(), 50u); // the 51st falls on x = 1000
    for (int x = 0; x < 1000; x += 20) {
        EXPECT_EQ(layer.pixel(x, 2) == red, x % 100 == 0) << x;
    }
}

TEST(ControlLayers, ASizeChangeRedrawsFromThePageAlreadyRead) {
    Ctrl f;
    f.show();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    // The file now holds other samples; a size change must not read them.
    RecordingDescription changed = flatRecording();
    changed.sample = [](int64_t, int) { return 32768; };
    writeRecording(f.dir.file("rec.vwr"), changed);
    f.ctrl.resize(800, 900);
    EXPECT_EQ(f.shown(), f.ctrl.pageLayer()); // painting copies the page layer
    EXPECT_EQ(f.deletes, 2);                  // the traces were drawn again, 48 pixels above row 75
    EXPECT_EQ(columnsWith(f.ctrl.pageLayer(), kDarkRed, 27, 27).size(), 800u);
    // Reading the page again shows the new samples: line 0 on its row centre.
    f.ctrl.Redraw(true);
    EXPECT_EQ(columnsWith(f.ctrl.pageLayer(), kDarkRed, 75, 75).size(), 800u);
    // A single border takes a pixel from each side.
    f.ctrl.setBorderStyle(1);
    EXPECT_EQ(f.ctrl.clientSize(), QSize(798, 898));
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.shown().pixel(799, 300), qRgb(0, 0, 0));
    EXPECT_EQ(f.shown().copy(1, 1, 798, 898), f.ctrl.pageLayer());
}

TEST(ControlLayers, WithoutATraceFileTheBackgroundAndThePictureAndedIntoIt) {
    Ctrl f;
    f.ctrl.setBackColor(0x000FFFF0); // OLE 0x00BBGGRR: red F0, green FF, blue 0F
    const QRgb background = qRgb(0xF0, 0xFF, 0x0F);
    std::ofstream(f.dir.file("junk.vwr"), std::ios::binary) << std::string(4000, 'x');
    EXPECT_EQ(f.ctrl.FileName(f.path("junk.vwr")), -1);
    const QImage shown = f.shown();
    const QImage picture =
        QImage(":/tracectl/not_trace_file.png").convertToFormat(QImage::Format_RGB32);
    std::vector<QPoint> ink;
    for (int y = 0; y < 216; ++y) {
        for (int x = 0; x < 295; ++x) {
            const QRgb expected = picture.pixel(x, y) & background;
            ASSERT_EQ(shown.pixel(352 + x, 192 + y), expected) << x << "," << y;
            ink.insert(ink.end(), expected != background, QPoint(352 + x, 192 + y));
        }
    }
    EXPECT_GT(ink.size(), 1000u);          // the picture really shows
    ASSERT_EQ(f.open(flatRecording()), 0); // a good file clears it
    EXPECT_FALSE(f.ctrl.DrawPage(0));      // an empty montage draws and fires nothing
    EXPECT_EQ(f.deletes, 0);
    EXPECT_EQ(f.shown().pixel(ink[500]), background);
}

// The page at second 10 runs from frame 2560 to 5120 (excluded).
RecordingDescription withNotes() {
    RecordingDescription d = flatRecording();
    NoteRecord full = note(3840, "");
    full.text.fill('n'); // 40 characters, no NUL
    d.notes = {note(300, "before"), note(2560, "start"), note(-4, "negative"), full,
               note(5120, "end"),   note(4000, "after"), note(5121, "beyond"), note(4100, "")};
    return d;
}

TEST(NoteEvents, DeleteNoteThenEachNoteOfThePageInTableOrder) {
    Ctrl f;
    std::string order;
    QObject::connect(&f.ctrl, &CViewerCtrl::DeleteNote, [&] { order += "d"; });
    QObject::connect(&f.ctrl, &CViewerCtrl::NoteNotification, [&] { order += "n"; });
    f.show(withNotes());
    f.ctrl.setTraceOverLabel(false);
    const int32_t label = f.ctrl.GetMaxLarghEtichette();
    const int32_t width = 1000 - label;
    ASSERT_TRUE(f.ctrl.DrawPage(10));
    EXPECT_EQ(order, "dnnn");
    // A note exactly at the page end is passed over and the walk goes on to the next one.
    EXPECT_EQ(f.notes, "0@" + std::to_string(label) + ":start 1@" +
                           std::to_string(label + width / 2) + ":" + std::string(39, 'n') + " 2@" +
                           std::to_string(label + width * 1440 / 2560) + ":after ");
    EXPECT_EQ(f.ctrl.recording().notes[3].text[39], '\0'); // the table keeps the cut
    f.notes.clear(); // the repaired note on the first page, no label column
    f.ctrl.setTraceOverLabel(true);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.notes, "0@117:before 1@0:negative ");
    f.ctrl.Redraw(false); // every drawing reports, none without lines
    f.ctrl.setGratis(false);
    f.ctrl.Redraw(true);
    EXPECT_EQ(f.deletes, 3);
}

TEST(NoteEvents, AHostThatChangesTheRecordingFromItsHandlerGetsThePagesNotesInFull) {
    Ctrl f;
    f.show(withNotes());
    RecordingDescription other = flatRecording();
    other.notes = {note(2600, "other file")};
    writeRecording(f.dir.file("other.vwr"), other);
    QObject::connect(&f.ctrl, &CViewerCtrl::NoteNotification, [&] {
        if (f.noteCount == 1) {
            f.ctrl.DrawPage(0); // page 0's notes come in between
        } else if (f.noteCount == 4) {
            EXPECT_EQ(f.ctrl.FileName(f.path("other.vwr")), 0);
        }
    });
    ASSERT_TRUE(f.ctrl.DrawPage(10));
    EXPECT_EQ(f.notes, "0@0:start 0@117:before 1@0:negative 1@500:" + std::string(39, 'n') +
                           " 2@562:after ");
    EXPECT_EQ(f.ctrl.recording().notes[0].sample, 2600);
}

} // namespace
} // namespace viewer::testing
