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

// The numbers every 2 seconds, at most one per pixel column (on a page longer than its
// width in pixels the seconds between columns are passed over), with their x.
std::vector<std::pair<int, uint16_t>> valueNumbers(const Page& page, int line) {
    std::vector<std::pair<int, uint16_t>> numbers;
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
        numbers.emplace_back(x, number);
    }
    return numbers;
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

// Line `i` of the page as it is to be drawn, its values `values`.
PlannedLine planLine(const Recording& rec, const Page& page, const TraceColours& colours,
                     const PageLayerSettings& settings, int i, std::span<const float> values) {
    const MontageRecord& m = rec.currentMontage;
    PlannedLine l;
    l.colour = lineColour(colours, rec, i);
    l.row = settings.rowCentre[i];
    const uint8_t kind = lineSource(rec, i).kind;
    const bool valueLine = isValueLine(m, i);
    l.numbered = valueLine && kind != kUnavailable;
    if (l.numbered) {
        l.numbers = valueNumbers(page, i);
    }
    l.trace = !valueLine && kind != kNoInput && kind != kUnavailable && rec.samplesPerPage != 0 &&
              !values.empty();
    if (l.trace) {
        l.values = values;
        l.k = pixelsPerStep(rec.derivations[i], m.gain[i], settings.pixelsPerCm);
    }
    return l;
}

// Draws the planned lines one at a time over `layer`, its rows brought back from the static
// layer by `rows` just ahead of the drawing.
class LineDrawer {
public:
    LineDrawer(QImage& layer, LayerRefresh& rows, const PageLayerSettings& settings,
               int32_t labelWidth, int32_t traceWidth, uint32_t samplesPerPage)
        : layer_(layer), rows_(rows), p_(&layer), labelWidth_(labelWidth), traceWidth_(traceWidth),
          samplesPerPage_(samplesPerPage) {
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.setRenderHint(QPainter::TextAntialiasing, false);
        p_.setFont(labelFont(LabelFont{settings.fontName, kValueFontPoints, false, false}, layer,
                             settings.scale));
        textHeight_ = p_.fontMetrics().height();
    }

    void draw(const PlannedLine& l) {
        p_.setPen(QPen(QColor(l.colour), 1));
        if (l.numbered) {
            // The numbers' glyphs stay within two text heights of their row.
            rows_.through(int64_t{l.row} + 2 * textHeight_);
            for (const auto& [x, number] : l.numbers) {
                p_.drawText(QRect(x, l.row - textHeight_ / 2, 0x7FFF, textHeight_),
                            Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                            QString::number(number));
            }
            rows_.mark(QRect(0, l.row - 2 * textHeight_, layer_.width(), 4 * textHeight_ + 1));
        }
        if (!l.trace) {
            return;
        }
        if (columns_.start.empty() || columns_.start.back() != l.values.size()) {
            columns_.build(labelWidth_, traceWidth_, samplesPerPage_,
                           static_cast<uint32_t>(l.values.size()));
        }
        drawTrace(layer_, rows_, l.colour, l.values, l.k, l.row, columns_, ys_);
    }

private:
    QImage& layer_;
    LayerRefresh& rows_;
    QPainter p_;
    int32_t labelWidth_;
    int32_t traceWidth_;
    uint32_t samplesPerPage_;
    int textHeight_ = 0;
    std::vector<int32_t> ys_; // one line's y at a time
    SampleColumns columns_;   // the same for every line of the page
};

Page pageOf(const Recording& rec, const PageLayerSettings& settings, int layerWidth) {
    return Page{rec, settings.labelWidth, layerWidth - settings.labelWidth,
                static_cast<float>(rec.currentMontage.pageMs) / 1000.0f};
}

int linesOf(const Recording& rec, const PageLayerSettings& settings) {
    return std::min<int>(
        {rec.currentMontage.numLines, kMaxLines, static_cast<int>(settings.rowCentre.size())});
}

// The lines of the page over `layer`, each drawn as soon as its values are computed.
void drawLines(QImage& layer, LayerRefresh& rows, TraceModel& model, const TraceColours& colours,
               const PageLayerSettings& settings, int lines) {
    const Recording& rec = model.recording();
    const Page page = pageOf(rec, settings, layer.width());
    LineDrawer drawer(layer, rows, settings, page.labelWidth, page.traceWidth, rec.samplesPerPage);
    model.computeLineValues([&](int i, std::span<const float> values) {
        if (i < lines) {
            drawer.draw(planLine(rec, page, colours, settings, i, values));
        }
    });
}

} // namespace

void drawPageLayer(QImage& layer, TraceModel& model, const TraceColours& colours,
                   const PageLayerSettings& settings) {
    const int lines = linesOf(model.recording(), settings);
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

PageRaster planPageLayer(const TraceModel& model, const TraceColours& colours,
                         const PageLayerSettings& settings, int layerWidth) {
    const Recording& rec = model.recording();
    const Page page = pageOf(rec, settings, layerWidth);
    PageRaster raster;
    raster.labelWidth = page.labelWidth;
    raster.traceWidth = page.traceWidth;
    raster.samplesPerPage = rec.samplesPerPage;
    const int lines = linesOf(rec, settings);
    for (int i = 0; i < lines; ++i) {
        raster.lines.push_back(planLine(rec, page, colours, settings, i, model.lineValues(i)));
    }
    return raster;
}

void drawPlannedPageLayer(QImage& layer, const PageRaster& raster,
                          const PageLayerSettings& settings) {
    LayerRefresh once;
    LayerRefresh& rows = settings.refresh != nullptr ? *settings.refresh : once;
    if (settings.background != nullptr) {
        rows.begin(layer, *settings.background);
    }
    if (!layer.isNull() && !raster.lines.empty()) {
        LineDrawer drawer(layer, rows, settings, raster.labelWidth, raster.traceWidth,
                          raster.samplesPerPage);
        for (const PlannedLine& l : raster.lines) {
            drawer.draw(l);
        }
    }
    if (settings.background != nullptr) {
        rows.end(layer, *settings.background);
    }
}

} // namespace viewer
