#include "page_painter.h"

#include "column_reducer.h"
#include "line_values.h"
#include "montage_lines.h"
#include "page_events.h"
#include "page_notes.h"
#include "polyline_raster.h"
#include "text.h"
#include "text_face.h"
#include "trace_geometry.h"

#include <QFontMetrics>
#include <QImage>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace viewer {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kHeaderPoints = 9;
constexpr QRgb kLabelColour = qRgb(0, 128, 128);
// Notes in the red of the program's note labels.
constexpr QRgb kNoteColour = qRgb(255, 0, 0);

QString hertz(int32_t value, double perHertz) {
    if (value < 0) {
        return QStringLiteral("mixed");
    }
    if (value == 0) {
        return QStringLiteral("off");
    }
    return QString::number(value / perHertz, 'g', 4) + QStringLiteral(" Hz");
}

QFont fontAt(const QString& name, int points, double dpi, bool bold = false) {
    QFont font = textFont(name);
    font.setPixelSize(std::clamp(static_cast<int>(std::lround(dpi * points / 72.0)), 1, 4000));
    font.setBold(bold);
    return font;
}

// A painter's device that traces can be written into directly: an RGB32 image drawn
// without any transform, as the control's layers are.
QImage* rasterTarget(QPainter& p) {
    auto* image = dynamic_cast<QImage*>(p.device());
    const bool plain =
        image && !p.transform().isScaling() && !p.transform().isTranslating() &&
        (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32);
    return plain ? image : nullptr;
}

void drawGrid(QPainter& p, const QRect& traces, int32_t labelWidth,
              const std::vector<int32_t>& rows, float seconds, const PagePaintSettings& s) {
    const QRgb colour = s.look.gridColour;
    const int x0 = traces.left() + labelWidth;
    const double width = traces.width() - labelWidth;
    const double dotEvery = s.dotsPerInch / 96.0; // a screen pixel's worth
    if ((s.look.gridType & 2) && seconds > 0.0f) {
        const double perFifth = width / seconds / 5.0;
        for (int k = 0; k <= static_cast<int>(5.0f * seconds) && perFifth >= 1.0; ++k) {
            QPen pen(QColor(colour), 0);
            pen.setDashPattern({dotEvery, (k % 5 == 0 ? 1.0 : 3.0) * dotEvery});
            p.setPen(pen);
            const double x = x0 + k * perFifth;
            p.drawLine(QPointF(x, traces.top()), QPointF(x, traces.bottom()));
        }
    }
    if (s.look.gridType & 1) {
        QPen pen(QColor(colour), 0);
        pen.setDashPattern({dotEvery, 2.0 * dotEvery});
        p.setPen(pen);
        for (const int32_t y : rows) {
            p.drawLine(QPointF(x0, y), QPointF(traces.right(), y));
        }
    }
}

int drawLabels(QPainter& p, const Recording& rec, const std::vector<int32_t>& rows, int left) {
    p.setPen(QColor(kLabelColour));
    const int h = p.fontMetrics().height();
    int widest = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString text = QString::fromStdString(lineLabelText(rec, static_cast<int>(i)));
        QRect drawn;
        p.drawText(QRect(left, rows[i] - h / 2, 0x7FFF, h),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text, &drawn);
        widest = std::max(widest, drawn.width());
    }
    return widest;
}

// The note marks under the traces and their texts, in bold, over them (as the screen's
// labels lie over the traces).
void drawNoteMarks(QPainter& p, const std::vector<PageNote>& notes, const QRect& traces) {
    p.setPen(QColor(kNoteColour));
    for (const PageNote& n : notes) {
        p.drawLine(n.posPix, traces.top(), n.posPix, traces.bottom());
    }
}

void drawNoteTexts(QPainter& p, const std::vector<PageNote>& notes, const QRect& traces) {
    QFont bold = p.font();
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(QColor(kNoteColour));
    for (const PageNote& n : notes) {
        p.drawText(QPoint(n.posPix + 2, traces.top() + p.fontMetrics().ascent()),
                   QString::fromStdString(n.utf8 ? n.text : windows1252ToUtf8(n.text)));
    }
}

void drawTraces(QPainter& p, TraceModel& model, const TraceColours& colours,
                const PagePaintResult& r) {
    const Recording& rec = model.recording();
    const MontageRecord& m = rec.currentMontage;
    const int lines = static_cast<int>(r.rowCentre.size());
    const int32_t left = r.traces.left() + r.labelWidth;
    const int32_t width = r.traces.width() - r.labelWidth;
    QImage* raster = rasterTarget(p);
    if (raster && (r.traces & raster->rect()).isEmpty()) {
        return; // nothing of the rows lies on the image
    }
    // The rows' band of the image, so that large waves stay inside it; one line's y at a
    // time, and the sample columns, the same for every line.
    const QRect rows = raster ? r.traces & raster->rect() : QRect();
    QImage band = raster ? QImage(raster->scanLine(rows.top()), raster->width(), rows.height(),
                                  raster->bytesPerLine(), raster->format())
                         : QImage();
    std::vector<int32_t> ys;
    SampleColumns columns;
    model.computeLineValues([&](int i, std::span<const float> values) {
        const uint8_t kind = lineSource(rec, i).kind;
        const uint32_t samples = rec.samplesPerPage;
        if (i >= lines || isValueLine(m, i) || kind == kNoInput || kind == kUnavailable ||
            samples == 0 || values.empty() || width <= 0) {
            return;
        }
        const double k = pixelsPerStep(rec.derivations[i], m.gain[i], r.pixelsPerCm);
        const QRgb colour = lineColour(colours, rec, i);
        if (raster) {
            ys.resize(values.size());
            for (size_t l = 0; l < values.size(); ++l) {
                ys[l] = traceY(r.rowCentre[i], values[l], k) - rows.top();
            }
            if (columns.start.empty() || columns.start.back() != values.size()) {
                columns.build(left, width, samples, static_cast<uint32_t>(values.size()));
            }
            drawTraceRgb32(band, ys, columns, colour);
            return;
        }
        SampleXWalk column(left, width, samples);
        ColumnReducer reducer(std::min(values.size(), static_cast<size_t>(width) + 1));
        for (const float value : values) {
            reducer.add(column.x(), traceY(r.rowCentre[i], value, k));
            column.next();
        }
        p.setPen(QPen(QColor(colour), 0));
        const std::span<const QPoint> points = reducer.points();
        p.drawPolyline(points.data(), static_cast<int>(points.size()));
    });
}

QRect drawCalibration(QPainter& p, const QRect& band, const PagePaintResult& r, int32_t gain,
                      float seconds) {
    if (gain <= 0 || !(seconds > 0.0f)) {
        return {};
    }
    const int w = static_cast<int>(std::lround((r.traces.width() - r.labelWidth) / seconds));
    const int h = static_cast<int>(std::lround(r.pixelsPerCm));
    // The bar's lines run exactly 1 s and 1 cm between their end points.
    const QRect bar(band.right() - w, band.bottom() - h, w, h);
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(QLineF(bar.left(), bar.top(), bar.left(), bar.top() + h));
    p.drawLine(QLineF(bar.left(), bar.top() + h, bar.left() + w, bar.top() + h));
    const QString text = QStringLiteral("1 s, %1 \u00B5V").arg(gain);
    const QFontMetrics metrics = p.fontMetrics();
    // Beside the bar's middle, clear of the page's bottom edge.
    p.drawText(QPoint(bar.left() - metrics.horizontalAdvance(text) - metrics.averageCharWidth(),
                      bar.top() + (h + metrics.ascent() - metrics.descent()) / 2),
               text);
    return bar;
}

} // namespace

QString pageHeaderText(const PageHeader& h, float pageSeconds, double mmPerSecond) {
    const QString gain =
        h.gain < 0 ? QStringLiteral("mixed") : QStringLiteral("%1 \u00B5V/cm").arg(h.gain);
    const QString notch =
        h.notchHz > 0 ? QStringLiteral("%1 Hz").arg(h.notchHz) : QStringLiteral("off");
    return QStringLiteral("%1   %2   %3   Montage: %4   Gain: %5   High-pass: %6   "
                          "Low-pass: %7   Notch: %8   Page: %9 s   Speed: %10 mm/s")
        .arg(h.patient, h.date, h.clock, h.montage, gain, hertz(h.highPass, 1000.0),
             hertz(h.lowPass, 100.0), notch, QString::number(pageSeconds, 'g', 6),
             QString::number(mmPerSecond, 'f', 1));
}

PagePaintResult paintPage(QPainter& p, const QRect& area, TraceModel& model,
                          const TraceColours& colours, const PagePaintSettings& s) {
    PagePaintResult r;
    Recording& rec = model.recording();
    const float seconds = model.pageSeconds();
    const double dpi = s.dotsPerInch > 0.0 ? s.dotsPerInch : 96.0;
    r.pixelsPerCm = dpi / kMmPerInch * 10.0;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(area, QColor(s.look.background));
    p.setFont(fontAt(s.look.font.name, kHeaderPoints, dpi));
    const int textHeight = p.fontMetrics().height();
    const int listed = static_cast<int>(eventListLines(s.events).size());
    const QRect header(area.left(), area.top(), area.width(), textHeight * (3 + 2 * listed) / 2);
    const int bandHeight = static_cast<int>(std::lround(r.pixelsPerCm)) + textHeight;
    const QRect band(area.left(), area.bottom() - bandHeight + 1, area.width(), bandHeight);
    r.traces = QRect(area.left(), header.bottom() + 1, area.width(),
                     std::max(band.top() - header.bottom() - 1, 0));

    const int lines = model.hasLines() ? std::min<int>(rec.currentMontage.numLines, kMaxLines) : 0;
    r.rowCentre = rowCentres(r.traces.height(), lines);
    for (int32_t& y : r.rowCentre) {
        y += r.traces.top();
    }
    const int margin = static_cast<int>(std::lround(dpi / 24.0));
    p.setFont(fontAt(s.look.font.name, s.look.font.size, dpi, s.look.font.bold));
    const bool labelled = rec.header.fileType != 128 && rec.header.fileType != 129;
    const int widest = lines > 0 && labelled ? drawLabels(p, rec, r.rowCentre, margin) : 0;
    r.labelWidth = s.look.traceOverLabel ? 0 : widest + 2 * margin;
    const double traceWidthMm = (r.traces.width() - r.labelWidth) / r.pixelsPerCm * 10.0;
    r.mmPerSecond = seconds > 0.0f ? traceWidthMm / seconds : 0.0;

    p.setFont(fontAt(s.look.font.name, kHeaderPoints, dpi));
    r.headerText = pageHeaderText(s.header, seconds, r.mmPerSecond);
    p.setPen(Qt::black);
    p.drawText(QRect(header.left(), header.top(), header.width(), textHeight * 3 / 2),
               Qt::AlignLeft | Qt::AlignVCenter, r.headerText);
    drawEventList(p, eventListLines(s.events), header.top() + textHeight * 3 / 2);
    if (lines > 0) {
        drawGrid(p, r.traces, r.labelWidth, r.rowCentre, seconds, s);
        const std::vector<PageNote> notes =
            notesOnPage(rec, r.traces.left() + r.labelWidth, r.traces.width() - r.labelWidth);
        drawNoteMarks(p, notes, r.traces);
        drawEventMarks(p, s.events, r.traces, r.labelWidth, r.rowCentre, seconds);
        p.setClipRect(r.traces); // large waves stay off the header and the bar
        drawTraces(p, model, colours, r);
        drawNoteTexts(p, notes, r.traces);
        p.setClipping(false);
        r.calibration = drawCalibration(p, band, r, s.header.gain, seconds);
    }
    p.restore();
    return r;
}

} // namespace viewer
