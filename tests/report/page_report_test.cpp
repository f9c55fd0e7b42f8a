// The layers at a device pixel ratio of 2, the page painted for paper and files at a known
// resolution, its header line, and pages written as PDF by the page-export tool.

#include "fixture.h"
#include "page_files.h"
#include "text_face.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QTime>
#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

RecordingDescription withNote() {
    RecordingDescription d = flatRecording();
    d.notes = {note(2560 + 1280, "halfway")};
    return d;
}

// The rows of `image` holding `colour` between columns x0 and x1.
std::set<int> rowsWith(const QImage& image, QRgb colour, int x0, int x1) {
    std::set<int> ys;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (image.pixel(x, y) == colour) {
                ys.insert(y);
            }
        }
    }
    return ys;
}

struct Interface {
    std::vector<int32_t> rows;
    int32_t labelWidth;
    int32_t position;
    std::string notes;
};

Interface drawnAt(Ctrl& f, double ratio) {
    f.ctrl.setLayerScale(ratio);
    f.show(withNote());
    f.ctrl.setTraceOverLabel(false);
    f.ctrl.setGridType(3);
    EXPECT_TRUE(f.ctrl.DrawPage(10));
    return {f.ctrl.rowCentre(), f.ctrl.GetMaxLarghEtichette(), f.ctrl.GetPixelPosition(12500),
            f.notes};
}

TEST(DeviceResolution, RatioTwoDrawsDevicePixelsAndAnswersInLogicalOnes) {
    Ctrl one;
    Ctrl two;
    const Interface logical = drawnAt(one, 1.0);
    const Interface device = drawnAt(two, 2.0);
    // What the host places its note labels and sync marker by does not move.
    EXPECT_EQ(device.rows, logical.rows);
    EXPECT_NEAR(device.labelWidth, logical.labelWidth, 1);
    EXPECT_NEAR(device.position, logical.position, 1);
    // One note event each ("number@x:text "), at the same x within a pixel.
    ASSERT_EQ(std::count(device.notes.begin(), device.notes.end(), '@'), 1);
    EXPECT_NE(device.notes.find(":halfway "), std::string::npos);
    const auto x = [](const std::string& n) { return std::stoi(n.substr(n.find('@') + 1)); };
    EXPECT_NEAR(x(device.notes), x(logical.notes), 1);

    const QImage& layer = two.ctrl.pageLayer();
    ASSERT_EQ(layer.size(), QSize(2000, 1200));
    EXPECT_NEAR(two.ctrl.layerLabelWidth(), 2 * logical.labelWidth, 2);
    // A flat trace is one device pixel tall, twice as far from its row as at ratio 1.
    const int x0 = two.ctrl.layerLabelWidth() + 10;
    const std::set<int> flat = rowsWith(layer, two.ctrl.traceColours().at(10), x0, 1990);
    const std::set<int> flatOne =
        rowsWith(one.ctrl.pageLayer(), one.ctrl.traceColours().at(10), x0 / 2, 990);
    ASSERT_EQ(flat.size(), 1u);
    ASSERT_EQ(flatOne.size(), 1u);
    const int rowTwo = two.ctrl.layerRowCentre()[0];
    EXPECT_NEAR(rowTwo - *flat.begin(), 2 * (logical.rows[0] - *flatOne.begin()), 2);
    // Painting lands one layer pixel on one device pixel.
    QImage painted(layer.size(), QImage::Format_RGB32);
    painted.setDevicePixelRatio(2.0);
    two.ctrl.render(&painted);
    EXPECT_EQ(painted.pixel(1500, *flat.begin()), two.ctrl.traceColours().at(10));
}

// The page painted into an RGB32 image of 254 dots per inch: 100 pixels per centimetre.
struct PaintedPage {
    Ctrl f;
    QImage image{2700, 1900, QImage::Format_RGB32};
    PagePaintResult result;

    explicit PaintedPage(int32_t gain) {
        f.show(withNote());
        f.ctrl.SetGainEEG(gain);
        EXPECT_TRUE(f.ctrl.DrawPage(10));
        QPainter p(&image);
        result = f.ctrl.paintPageOn(p, image.rect(), 254.0);
    }
};

TEST(PagePainter, GainAndPaperSpeedAreTrueOnTheDevice) {
    struct Case {
        int32_t gain;
        int flatMin, flatMax; // pixels of line 0 above its row (48 at 50 px/cm and 100 µV/cm)
    };
    for (const Case c : {Case{100, 96, 97}, Case{200, 48, 48}}) {
        PaintedPage page(c.gain);
        const PagePaintResult& r = page.result;
        EXPECT_DOUBLE_EQ(r.pixelsPerCm, 100.0);
        EXPECT_NEAR(r.mmPerSecond, 27.0, 0.01); // 27 cm over a 10 s page
        // The calibration bar: 1 cm (c.gain µV) by 1 s, drawn in black.
        EXPECT_EQ(r.calibration.height(), 100);
        EXPECT_EQ(r.calibration.width(), 270);
        const QImage column = page.image.copy(r.calibration.adjusted(0, -5, 0, 1));
        const std::set<int> bar = rowsWith(column, qRgb(0, 0, 0), 0, 0);
        EXPECT_EQ(*bar.rbegin() - *bar.begin(), 100) << c.gain;
        const std::set<int> flat =
            rowsWith(page.image, page.f.ctrl.traceColours().at(10), 100, 2600);
        ASSERT_EQ(flat.size(), 1u) << c.gain;
        const int above = r.rowCentre[0] - *flat.begin();
        EXPECT_GE(above, c.flatMin) << c.gain;
        EXPECT_LE(above, c.flatMax) << c.gain;
        EXPECT_TRUE(r.headerText.contains(QStringLiteral("Gain: %1 µV/cm").arg(c.gain)));
    }
}

TEST(PagePainter, HeaderLineNamesEverySetting) {
    struct Case {
        PageHeader header;
        QString expected;
    };
    const Case cases[] = {
        {{"ROSSI MARIO", "2024-03-01", "10:23:45", "Longitudinal", 70, 530, 7000, 50},
         "ROSSI MARIO   2024-03-01   10:23:45   Montage: Longitudinal   Gain: 70 µV/cm   "
         "High-pass: 0.53 Hz   Low-pass: 70 Hz   Notch: 50 Hz   Page: 10 s   Speed: 30.0 mm/s"},
        {{"X", "", "", "Mine", -1, 0, -1, 0},
         "X         Montage: Mine   Gain: mixed   High-pass: off   Low-pass: mixed   "
         "Notch: off   Page: 10 s   Speed: 30.0 mm/s"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pageHeaderText(c.header, 10.0f, 30.0), c.expected);
    }
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(PageFiles, ToolWritesConsecutivePagesAsSearchablePdf) {
    Ctrl f;
    f.show(withNote());
    const QString pdf = QString::fromStdString(f.dir.file("pages.pdf"));
    run(VIEWER_BIN_DIR "/page-export",
        {QString::fromStdString(f.dir.file("rec.vwr")), "--at", "5", "--pages", "3", "--montage",
         "1", "--page-seconds", "10", "--out", pdf});
    // The third page starts before the end of the recording and runs past it.
    EXPECT_TRUE(QRegularExpression("Pages: +3\n").match(run("pdfinfo", {pdf})).hasMatch());
    for (int page = 1; page <= 3; ++page) {
        const QString text =
            run("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
        const int32_t start = 5 + 10 * (page - 1);
        const QString clock =
            QTime(0, 0).addSecs(f.ctrl.GetMont(start) % 86400).toString("HH:mm:ss");
        EXPECT_TRUE(text.contains(clock)) << page << text.toStdString();
        EXPECT_TRUE(text.contains("Montage: Flat")) << text.toStdString();
        EXPECT_TRUE(text.contains("Fp1")) << text.toStdString();
    }
    // Header and labels are set in a text face, never a TeX math or symbol one.
    const QString fonts = run("pdffonts", {pdf});
    EXPECT_FALSE(
        QRegularExpression("cm(ex|sy|mi|r)10|msam|msbm|Math|Symbol").match(fonts).hasMatch())
        << fonts.toStdString();
}

TEST(TextFaces, EmptyUnknownAndMathFacesDrawLabelsInATextFont) {
    // The test machine has the TeX fonts (cmex10 and the like) that matplotlib brings along.
    const QString label = QStringLiteral("Fp2 Fp1 T6 T4 µV/cm 10:23:45");
    for (const QString name : {"", "No Such Face", "cmex10", "msam10"}) {
        const QFontInfo info(textFont(name));
        const QList<QFontDatabase::WritingSystem> systems =
            QFontDatabase::writingSystems(info.family());
        EXPECT_TRUE(systems.contains(QFontDatabase::Latin)) << name.toStdString();
        EXPECT_FALSE(systems.contains(QFontDatabase::Symbol)) << info.family().toStdString();
        const QFontMetrics metrics(textFont(name));
        for (const QChar c : label) {
            EXPECT_TRUE(c.isSpace() || metrics.inFont(c)) << info.family().toStdString();
        }
    }
    // A text face the machine has is used as named.
    EXPECT_EQ(QFontInfo(textFont("DejaVu Serif")).family(), "DejaVu Serif");
}

TEST(PageFiles, PdfTracesSitWhereThePngPutsThem) {
    Ctrl f;
    f.show(withNote());
    ASSERT_TRUE(f.ctrl.DrawPage(10));
    const QString base = QString::fromStdString(f.dir.file("page"));
    // The PDF's printable area (A4 landscape less 10 mm each side) as a PNG at 100 dpi.
    const PageExportResult png = exportPages(f.ctrl, {base + ".png", 1, 100.0, QSize(1090, 748)});
    const PageExportResult pdf = exportPages(f.ctrl, {base + ".pdf", 1, 100.0, {}});
    ASSERT_TRUE(png.error.isEmpty() && pdf.error.isEmpty());
    EXPECT_EQ(pdf.pageStarts, std::vector<int32_t>{10});
    EXPECT_EQ(f.ctrl.pageStartSecond(), 10); // the page on screen is back
    run("pdftoppm", {"-r", "100", "-png", "-aa", "no", "-aaVector", "no", "-singlefile",
                     base + ".pdf", base + "-pdf"});
    const QImage fromPdf = QImage(base + "-pdf.png").convertToFormat(QImage::Format_RGB32);
    const QImage fromPng = QImage(base + ".png").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(fromPdf.isNull() || fromPng.isNull());
    const int margin = 39; // 10 mm at 100 dpi
    for (const int palette : {10, 28}) {
        const std::set<int> a = rowsWith(fromPng, f.ctrl.traceColours().at(palette), 50, 1000);
        const std::set<int> b =
            rowsWith(fromPdf, f.ctrl.traceColours().at(palette), 50 + margin, 1000 + margin);
        ASSERT_FALSE(a.empty() || b.empty()) << palette;
        EXPECT_NEAR(*b.begin() - margin, *a.begin(), 2) << palette;
    }
}

struct Outcome {
    int status;
    QString errors;
};

Outcome runTool(const char* tool, const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VIEWER_BIN_DIR "/") + tool, args);
    EXPECT_TRUE(p.waitForFinished(60000)) << tool;
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

TEST(PageFiles, ToolsRefuseValuesTheyCannotDrawOrWriteAndSayWhatTheyLimit) {
    Ctrl f;
    f.show(withNote()); // 30 s, six channels of 256 Hz
    const QString rec = QString::fromStdString(f.dir.file("rec.vwr"));
    const QString dir = QString::fromStdString(f.dir.file(""));
    struct Case {
        const char* tool;
        QStringList args;
        int status;
        const char* words; // in what the tool says on standard error
    };
    const QStringList page = {rec, "--at", "0", "--out", dir + "p.pdf"};
    const Case cases[] = {
        {"page-export", page + QStringList{"--gain", "0"}, 2, "--gain must be"},
        {"page-export", page + QStringList{"--gain", "-70"}, 2, "--gain must be"},
        {"page-export", page + QStringList{"--page-seconds", "0"}, 2, "--page-seconds must be"},
        {"page-export", page + QStringList{"--pages", "0"}, 2, "--pages must be"},
        {"page-export", page + QStringList{"--pages", "-3"}, 2, "--pages must be"},
        {"page-export", page + QStringList{"--size", "0x0"}, 2, "--size must be"},
        {"page-export", page + QStringList{"--page-seconds", "100000"}, 0, "is limited to"},
        {"page-export", page + QStringList{"--pages", "5"}, 0, "--pages 5 is limited to 3"},
        {"page-export", {rec, "--at", "40", "--out", dir + "p.pdf"}, 2, "no page at 40"},
        {"page-export", {"--help"}, 0, ""},
        {"vwr2edf", {rec, dir + "x.bdf"}, 0, ""},
        {"vwr2edf", {rec, dir + "x.txt"}, 2, "must end in .edf"},
        {"vwr2edf", {rec, "--from", "20", "--to", "10"}, 2, "no samples lie between"},
        {"vwr2edf", {"--help"}, 0, ""},
    };
    for (const Case& c : cases) {
        const Outcome o = runTool(c.tool, c.args);
        EXPECT_EQ(o.status, c.status) << c.tool << " " << c.args.join(' ').toStdString();
        EXPECT_TRUE(o.errors.contains(QString::fromUtf8(c.words)))
            << c.tool << " " << c.args.join(' ').toStdString() << ": " << o.errors.toStdString();
    }
    // The format the name asks for, under that name.
    EXPECT_TRUE(QFileInfo::exists(dir + "x.bdf"));
    EXPECT_FALSE(QFileInfo::exists(dir + "x.edf") || QFileInfo::exists(dir + "x.txt"));
}

} // namespace
} // namespace viewer::testing
