#include "static_layer.h"

#include "montage_lines.h"
#include "text.h"
#include "text_face.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace viewer {

namespace {

constexpr QRgb kLabelColour = qRgb(0, 128, 128);
constexpr int kLabelMargin = 4;
constexpr int kLabelGap = 10;
constexpr int kNotPresentOffset = 120;
constexpr int kBaselineDotStep = 3;

void writeReferenceName(Recording& rec) {
    const char* name = referenceName(rec.currentMontage.refMode);
    if (!name) {
        return;
    }
    auto& label = rec.electrodes[0].positiveLabel;
    label.fill('\0');
    std::memcpy(label.data(), name, std::min(std::strlen(name), label.size() - 1));
}

void dot(QImage& layer, int x, int y, QRgb colour) {
    if (x >= 0 && y >= 0 && x < layer.width() && y < layer.height()) {
        layer.setPixel(x, y, colour);
    }
}

void dottedColumn(QImage& layer, int x, int step, QRgb colour) {
    step = std::max(step, 1);
    if (x < 0 || x >= layer.width()) {
        return;
    }
    for (int y = 0; y < layer.height(); y += step) {
        layer.setPixel(x, y, colour);
    }
}

// A grid whose lines lie closer than a pixel: every column of the trace area takes the
// fifths' dots, and every column of a whole second the denser dots (all of them when the
// seconds too lie closer than a pixel). The work follows the pixels, not the seconds.
void drawDenseTimeGrid(QImage& layer, int32_t labelWidth, float seconds, float perSecond,
                       QRgb colour, double scale) {
    const int end = labelWidth + static_cast<int>(seconds * perSecond);
    const int from = std::max(std::min(labelWidth, end), 0);
    const int to = std::min(std::max(labelWidth, end), layer.width() - 1);
    const bool everySecond = std::abs(perSecond) <= 1.0f;
    for (int x = from; x <= to; ++x) {
        dottedColumn(layer, x, scaled(everySecond ? 2 : 4, scale), colour);
    }
    for (int s = 0; !everySecond && static_cast<float>(s) <= seconds; ++s) {
        dottedColumn(layer, labelWidth + static_cast<int>(static_cast<float>(s) * perSecond),
                     scaled(2, scale), colour);
    }
}

// Dotted vertical lines five times a second, denser on the whole seconds.
void drawTimeGrid(QImage& layer, int32_t labelWidth, int32_t pageMs, QRgb colour, double scale) {
    const float seconds = static_cast<float>(pageMs) / 1000.0f;
    if (!(seconds > 0.0f)) {
        return;
    }
    const float perSecond = static_cast<float>(layer.width() - labelWidth) / seconds;
    if (!(perSecond >= 5.0f)) {
        drawDenseTimeGrid(layer, labelWidth, seconds, perSecond, colour, scale);
        return;
    }
    float position = 0.0f;
    for (int k = 0; static_cast<float>(k) <= 5.0f * seconds; ++k) {
        dottedColumn(layer, labelWidth + static_cast<int>(position),
                     scaled((k % 5 == 0) ? 2 : 4, scale), colour);
        position += perSecond / 5.0f;
    }
}

void drawBaselines(QImage& layer, int32_t labelWidth, const std::vector<int32_t>& rows, QRgb colour,
                   double scale) {
    const int step = scaled(kBaselineDotStep, scale);
    for (int32_t y : rows) {
        for (int x = labelWidth; x < layer.width(); x += step) {
            dot(layer, x, y, colour);
        }
    }
}

// Draws the labels and returns the width of the widest.
int drawLabels(QPainter& p, const Recording& rec, const std::vector<int32_t>& rows, int h,
               int margin) {
    int widest = 0;
    const QFontMetrics metrics = p.fontMetrics();
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString text = QString::fromStdString(lineLabelText(rec, static_cast<int>(i)));
        const int top = rows[i] - h / 2;
        const QRect box(margin, top, 0x7FFF, h);
        QRect drawn;
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs | Qt::TextDontClip, text,
                   &drawn);
        widest = std::max(widest, drawn.width());
    }
    return widest;
}

} // namespace

std::vector<int32_t> rowCentres(int height, int lines) {
    std::vector<int32_t> centres(std::max(lines, 0));
    if (lines <= 0) {
        return centres;
    }
    const float rowHeight = static_cast<float>(height) / static_cast<float>(lines);
    for (int i = 0; i < lines; ++i) {
        centres[i] = static_cast<int32_t>(static_cast<double>(rowHeight) * (i + 0.5));
    }
    return centres;
}

int scaled(int n, double scale) {
    if (scale == 1.0) {
        return n;
    }
    const auto s = static_cast<int>(std::lround(n * std::clamp(scale, 0.01, 100.0)));
    return n > 0 ? std::max(s, 1) : s;
}

QFont labelFont(const LabelFont& wanted, const QImage& layer, double scale) {
    QFont font = textFont(wanted.name);
    const int pixels = scaled(layer.logicalDpiY() * wanted.size / 72, scale);
    font.setPixelSize(std::clamp(std::abs(pixels), 1, 1000));
    font.setWeight(wanted.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(wanted.italic);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

StaticLayerGeometry drawStaticLayer(QImage& layer, Recording& rec,
                                    const std::vector<uint8_t>& kinds,
                                    const StaticLayerSettings& settings, const QImage& marker) {
    StaticLayerGeometry geometry;
    const int lines = std::min<int>(rec.currentMontage.numLines, kMaxLines);
    if (!rec.isOpen() || lines == 0 || layer.isNull()) {
        return geometry;
    }
    layer.fill(settings.background);
    geometry.rowCentre = rowCentres(layer.height(), lines);
    writeReferenceName(rec);

    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    const double scale = settings.scale;
    p.setFont(labelFont(settings.font, layer, scale));
    p.setPen(kLabelColour);
    const int h = p.fontMetrics().height();
    const uint16_t fileType = rec.header.fileType;
    const bool labelled = fileType != 128 && fileType != 129;
    const int widest =
        labelled ? drawLabels(p, rec, geometry.rowCentre, h, scaled(kLabelMargin, scale)) : 0;
    geometry.labelWidth = settings.traceOverLabel ? 0 : widest + scaled(kLabelGap, scale);

    if (settings.gridType & 2) {
        drawTimeGrid(layer, geometry.labelWidth, rec.currentMontage.pageMs, settings.gridColour,
                     scale);
    }
    if (settings.gridType & 1) {
        drawBaselines(layer, geometry.labelWidth, geometry.rowCentre, settings.gridColour, scale);
    }
    const std::vector<bool> off = linesOffPrevailingSettings(rec);
    for (int i = 0; i < lines; ++i) {
        if (off[i]) {
            p.drawImage(QRect(scaled(1, scale), geometry.rowCentre[i],
                              scaled(marker.width(), scale), scaled(marker.height(), scale)),
                        marker);
        }
    }
    if (fileType != 128) {
        for (int i = 0; i < lines && i < static_cast<int>(kinds.size()); ++i) {
            if (kinds[i] == 10) {
                p.drawText(QRect(geometry.labelWidth + scaled(kNotPresentOffset, scale),
                                 geometry.rowCentre[i] - h / 2, 0x7FFF, h),
                           Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                           QStringLiteral("Not Present"));
            }
        }
    }
    return geometry;
}

} // namespace viewer
