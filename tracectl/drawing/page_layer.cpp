#include "page_layer.h"

#include "line_values.h"
#include "montage_lines.h"
#include "page_length.h"
#include "polyline_raster.h"
#include "static_layer.h"
#include "trace_geometry.h"
#include "value_numbers.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

namespace viewer {

namespace {

constexpr int kValueFontPoints = 10;
constexpr int kValueEverySeconds = 2;

struct Page {
    const Recording& rec;
    int32_t labelWidth;
    int32_t traceWidth;
    float seconds;
};

// The number shown for second `t` of value line `line`; false when that frame or channel
// lies outside the page.
bool valueAt(const Recording& rec, int line, uint32_t t, uint16_t& number) {
    const MontageRecord& m = rec.currentMontage;
    const DerivationRecord& r = rec.derivations[line];
    const bool onA = m.inputA[line] == 173 || m.inputA[line] == 175;
    const uint16_t code = onA ? m.inputA[line] : m.inputB[line];
    const int channel = onA ? r.channelA : r.channelB;
    const uint64_t frame = static_cast<uint64_t>(t) * rec.header.rate;
    const uint32_t frames = std::min(rec.samplesPerPage, framesThatFit(rec));
    if (frame >= frames || channel < 0 || channel >= rec.header.numChannels) {
        return false;
    }
    const int32_t raw = rec.pageBuffer[frame * rec.header.numChannels + channel];
    number = valueLineNumber(electrodeOf(rec, code), raw);
    return true;
}

// The numbers every 2 seconds, at most one per pixel column: on a page longer than its
// width in pixels the seconds between columns are passed over.
void drawValueNumbers(QPainter& p, const Page& page, int line, int32_t rowCentre) {
    const int h = p.fontMetrics().height();
    const double width = std::max(1.0, std::abs(static_cast<double>(page.traceWidth)));
    const double skip = std::ceil(static_cast<double>(page.seconds) / width / kValueEverySeconds);
    const uint32_t stride = kValueEverySeconds * static_cast<uint32_t>(std::clamp(skip, 1.0, 1e9));
    for (uint32_t t = 0; static_cast<float>(t) < page.seconds; t += stride) {
        uint16_t number = 0;
        if (!valueAt(page.rec, line, t, number)) {
            break; // later seconds lie outside the page too
        }
        const auto x = static_cast<int>(static_cast<float>(page.labelWidth) +
                                        static_cast<float>(t) *
                                            static_cast<float>(page.traceWidth) / page.seconds);
        p.drawText(QRect(x, rowCentre - h / 2, 0x7FFF, h),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QString::number(number));
    }
}

// Line `values` scaled by `k` on the row at `rowCentre`, into `layer` once `rows` has
// brought back every row the trace can reach.
void drawTrace(QImage& layer, LayerRefresh& rows, QRgb colour, std::span<const float> values,
               double k, int32_t rowCentre, const SampleColumns& columns,
               std::vector<int32_t>& ys) {
    ys.resize(values.size());
    // The trace never leaves the rows between its samples' y.
    rows.through(traceYs(values, rowCentre, k, ys));
    drawTraceRgb32(layer, ys, columns, colour, &rows);
}

// The lines of the page over `layer`, its rows brought back from the static layer by `rows`
// just ahead of the drawing.
void drawLines(QImage& layer, LayerRefresh& rows, TraceModel& model, const TraceColours& colours,
               const PageLayerSettings& settings, int lines) {
    const Recording& rec = model.recording();
    const MontageRecord& m = rec.currentMontage;
    const Page page{rec, settings.labelWidth, layer.width() - settings.labelWidth,
                    static_cast<float>(m.pageMs) / 1000.0f};
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(labelFont(LabelFont{settings.fontName, kValueFontPoints, false, false}, layer,
                        settings.scale));
    const int textHeight = p.fontMetrics().height();
    std::vector<int32_t> ys; // one line's y at a time
    SampleColumns columns;   // the same for every line of the page
    model.computeLineValues([&](int i, std::span<const float> values) {
        if (i >= lines) {
            return;
        }
        const QRgb colour = lineColour(colours, rec, i);
        p.setPen(QPen(QColor(colour), 1));
        const uint8_t kind = lineSource(rec, i).kind;
        const bool valueLine = isValueLine(m, i);
        if (valueLine && kind != kUnavailable) {
            // The numbers' glyphs stay within two text heights of their row.
            const int32_t row = settings.rowCentre[i];
            rows.through(int64_t{row} + 2 * textHeight);
            drawValueNumbers(p, page, i, row);
            rows.mark(QRect(0, row - 2 * textHeight, layer.width(), 4 * textHeight + 1));
        }
        if (valueLine || kind == kNoInput || kind == kUnavailable) {
            return;
        }
        if (rec.samplesPerPage == 0 || values.empty()) {
            return;
        }
        if (columns.start.empty() || columns.start.back() != values.size()) {
            columns.build(page.labelWidth, page.traceWidth, rec.samplesPerPage,
                          static_cast<uint32_t>(values.size()));
        }
        const double k = pixelsPerStep(rec.derivations[i], m.gain[i], settings.pixelsPerCm);
        drawTrace(layer, rows, colour, values, k, settings.rowCentre[i], columns, ys);
    });
}

} // namespace

void drawPageLayer(QImage& layer, TraceModel& model, const TraceColours& colours,
                   const PageLayerSettings& settings) {
    const MontageRecord& m = model.recording().currentMontage;
    const int lines =
        std::min<int>({m.numLines, kMaxLines, static_cast<int>(settings.rowCentre.size())});
    LayerRefresh once;
    LayerRefresh& rows = settings.refresh != nullptr ? *settings.refresh : once;
    if (settings.background != nullptr) {
        rows.begin(layer, *settings.background);
    }
    if (layer.isNull() || lines == 0) {
        model.computeLineValues();
    } else {
        drawLines(layer, rows, model, colours, settings, lines);
    }
    if (settings.background != nullptr) {
        rows.end(layer, *settings.background);
    }
}

} // namespace viewer
