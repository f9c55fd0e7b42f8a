// The control's layers read pixel by pixel: traces at their scaled height in their colours,
// value numbers, the static layer's labels, grids and markers, sizes and borders, the
// not-a-trace-file picture and the note events of each drawing.

#include "fixture.h"

#include <fstream>

namespace viewer::testing {
namespace {

TEST(PageDrawing, TracesLieAtTheirScaledHeightInTheirLinesColours) {
    Ctrl f;
    f.show();
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage& page = f.ctrl.pageLayer();
    EXPECT_EQ(f.ctrl.rowCentre(), (std::vector<int32_t>{50, 150, 250, 350, 450, 550}));
    // 6400 uV over 65536 steps at 50 pixels per cm and 100 uV per cm: 0.0488 pixels a step.
    // Line 0, 1000 steps up: 48 pixels above its row, flat across the page, and only there.
    EXPECT_EQ(columnsWith(page, kDarkRed, 2, 2).size(), 1000u);
    EXPECT_TRUE(columnsWith(page, kDarkRed, 0, 1).empty());
    EXPECT_TRUE(columnsWith(page, kDarkRed, 3, 599).empty());
    EXPECT_EQ(page.pixel(700, 150 + 97), kGreen); // line 1, 2000 steps down
    EXPECT_EQ(page.pixel(300, 550 - 97), kNavy);  // line 5: gain 50, twice the deflection
    // Rows 2 (no input) and 3 (C4 not acquired) hold only the static layer: label, "Not Present".
    EXPECT_EQ(page.copy(0, 250, 1000, 150), f.ctrl.staticLayer().copy(0, 250, 1000, 150));
    EXPECT_FALSE(columnsWith(page, kLabelInk, 340, 360).empty());
    // The value line: "100" at 0, 2, 4, 6 and 8 s, nothing in between and no trace.
    const std::set<int> xs = columnsWith(page, kPurple, 420, 480);
    for (int x = 0; x < 1000; x += 200) {
        EXPECT_TRUE(xs.count(x) || xs.count(x + 1) || xs.count(x + 2)) << x;
        EXPECT_TRUE(xs.lower_bound(x + 60) == xs.lower_bound(x + 200)) << x;
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
    // Label ink from x = 4 to the widest label's end, 10 pixels short of the column.
    const std::set<int> ink = columnsWith(layer, kLabelInk, 0, 599);
    EXPECT_TRUE(*ink.begin() >= 4 && *ink.begin() < 7) << *ink.begin();
    EXPECT_LT(*std::prev(ink.lower_bound(label)), label - 6);
    EXPECT_GT(*std::prev(ink.lower_bound(label)), label - 20);
    // "Not Present" on line 3 only, 120 pixels right of the label column.
    const std::set<int> notPresent = columnsWith(layer, kLabelInk, 340, 360);
    EXPECT_GE(*notPresent.lower_bound(label), label + 120);
    EXPECT_LT(*notPresent.lower_bound(label), label + 130);
    EXPECT_EQ(ink.lower_bound(label), ink.lower_bound(label + 120));
    EXPECT_TRUE(markerAt(layer, f.row(1))); // off the prevailing low-pass
    f.ctrl.setTraceOverLabel(true);
    EXPECT_EQ(f.ctrl.GetMaxLarghEtichette(), 0);
    f.ctrl.setGridType(2); // time: five lines a second, whole seconds denser
    EXPECT_EQ(columnsWith(layer, red, 0, 599).size(), 50u); // the 51st falls on x = 1000
    for (int x = 0; x < 1000; x += 20) {
        EXPECT_TRUE(layer.pixel(x, 0) == red && layer.pixel(x, 4) == red) << x;
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
    EXPECT_EQ(f.ctrl.staticLayer().size(), QSize(800, 900));
    EXPECT_EQ(f.ctrl.rowCentre(), (std::vector<int32_t>{75, 225, 375, 525, 675, 825}));
    EXPECT_EQ(f.deletes, 2); // the traces were drawn again
    EXPECT_TRUE(columnsWith(f.ctrl.pageLayer(), kDarkRed, 0, 26).empty());
    EXPECT_EQ(columnsWith(f.ctrl.pageLayer(), kDarkRed, 27, 27).size(), 800u);
    // Reading the page again shows the new samples: line 0 on its row centre.
    f.ctrl.Redraw(true);
    EXPECT_EQ(columnsWith(f.ctrl.pageLayer(), kDarkRed, 75, 75).size(), 800u);
    // A single border takes a pixel from each side.
    f.ctrl.setBorderStyle(1);
    EXPECT_EQ(f.ctrl.clientSize(), QSize(798, 898));
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    const QImage shown = f.shown();
    EXPECT_EQ(shown.pixel(0, 300), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(799, 300), qRgb(0, 0, 0));
    EXPECT_EQ(shown.copy(1, 1, 798, 898), f.ctrl.pageLayer());
}

TEST(ControlLayers, WithoutATraceFileTheBackgroundAndThePictureAndedIntoIt) {
    Ctrl f;
    f.ctrl.setBackColor(0x000FFFF0); // OLE 0x00BBGGRR: red F0, green FF, blue 0F
    const QRgb background = qRgb(0xF0, 0xFF, 0x0F);
    EXPECT_EQ(f.shown().pixel(500, 300), background);
    std::ofstream(f.dir.file("junk.vwr"), std::ios::binary) << std::string(4000, 'x');
    EXPECT_EQ(f.ctrl.FileName(f.path("junk.vwr")), -1);
    const QImage shown = f.shown();
    const QImage picture =
        QImage(":/tracectl/not_trace_file.png").convertToFormat(QImage::Format_RGB32);
    int differing = 0;
    for (int y = 0; y < 216; ++y) {
        for (int x = 0; x < 295; ++x) {
            const QRgb expected = picture.pixel(x, y) & background;
            ASSERT_EQ(shown.pixel(352 + x, 192 + y), expected) << x << "," << y;
            differing += expected != background ? 1 : 0;
        }
    }
    EXPECT_GT(differing, 1000);            // the picture really shows
    ASSERT_EQ(f.open(flatRecording()), 0); // a good file clears it
    EXPECT_FALSE(f.ctrl.DrawPage(0));      // an empty montage draws and fires nothing
    EXPECT_EQ(f.deletes, 0);
    f.ctrl.setNumMont(30);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.shown(), f.ctrl.pageLayer());
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
    using Note = std::tuple<int16_t, int32_t, QString>;
    // A note exactly at the page end is passed over and the walk goes on to the next one.
    EXPECT_EQ(f.notes, (std::vector<Note>{{0, label, "start"},
                                          {1, label + width / 2, QString(39, 'n')},
                                          {2, label + width * 1440 / 2560, "after"}}));
    EXPECT_EQ(f.ctrl.recording().notes[3].text[39], '\0'); // the table keeps the cut
    // The repaired note lies on the first page; the label column is gone with traceOverLabel.
    f.notes.clear();
    f.ctrl.setTraceOverLabel(true);
    ASSERT_TRUE(f.ctrl.DrawPage(0));
    EXPECT_EQ(f.notes, (std::vector<Note>{{0, 117, "before"}, {1, 0, "negative"}}));
    f.ctrl.Redraw(false); // every drawing reports
    EXPECT_EQ(f.deletes, 3);
    f.ctrl.setGratis(false); // no lines: none
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
        if (f.notes.size() == 1) {
            f.ctrl.DrawPage(0); // page 0's notes come in between
        } else if (f.notes.size() == 4) {
            EXPECT_EQ(f.ctrl.FileName(f.path("other.vwr")), 0);
        }
    });
    ASSERT_TRUE(f.ctrl.DrawPage(10));
    std::string texts;
    for (const auto& [number, x, text] : f.notes) {
        texts += std::to_string(number) + text.left(8).toStdString() + " ";
    }
    EXPECT_EQ(texts, "0start 0before 1negative 1nnnnnnnn 2after ");
    EXPECT_EQ(f.ctrl.recording().notes[0].sample, 2600);
}

} // namespace
} // namespace viewer::testing
