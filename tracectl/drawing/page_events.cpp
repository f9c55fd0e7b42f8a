#include "page_events.h"

#include <algorithm>
#include <cmath>

namespace viewer {

namespace {

constexpr int kBandAlpha = 60;

// The top and bottom of the rows of `lines` (all rows when empty), half a row either side.
std::pair<int, int> rowsSpan(const std::vector<int>& lines, const QRect& traces,
                             const std::vector<int32_t>& rowCentre) {
    const int n = static_cast<int>(rowCentre.size());
    if (lines.empty() || n == 0) {
        return {traces.top(), traces.bottom()};
    }
    const int half = n > 1 ? (rowCentre[1] - rowCentre[0]) / 2 : traces.height() / 2;
    int top = traces.bottom();
    int bottom = traces.top();
    for (const int line : lines) {
        if (line >= 0 && line < n) {
            top = std::min(top, rowCentre[static_cast<size_t>(line)] - half);
            bottom = std::max(bottom, rowCentre[static_cast<size_t>(line)] + half);
        }
    }
    return top <= bottom ? std::pair{std::max(top, traces.top()), std::min(bottom, traces.bottom())}
                         : std::pair{traces.top(), traces.bottom()};
}

} // namespace

QStringList eventListLines(const std::vector<PageEventMark>& events) {
    QStringList lines;
    for (size_t i = 0; i < events.size(); ++i) {
        if (lines.size() == kListedEvents - 1 && events.size() > kListedEvents) {
            lines << QStringLiteral("… and %1 more events on this page").arg(events.size() - i);
            break;
        }
        lines << events[i].listed;
    }
    return lines;
}

void drawEventList(QPainter& p, const QStringList& lines, int top) {
    const int h = p.fontMetrics().height();
    p.setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i) {
        p.drawText(
            QPoint(p.fontMetrics().averageCharWidth() * 2, top + i * h + p.fontMetrics().ascent()),
            lines[i]);
    }
}

void drawEventMarks(QPainter& p, const std::vector<PageEventMark>& events, const QRect& traces,
                    int32_t labelWidth, const std::vector<int32_t>& rowCentre, float pageSeconds) {
    const double left = traces.left() + labelWidth;
    const double width = traces.width() - labelWidth;
    if (!(pageSeconds > 0.0f) || width <= 0) {
        return;
    }
    const double perSecond = width / pageSeconds;
    p.save();
    p.setClipRect(
        QRect(static_cast<int>(left), traces.top(), static_cast<int>(width), traces.height()));
    for (const PageEventMark& e : events) {
        const auto [top, bottom] = rowsSpan(e.lines, traces, rowCentre);
        const double x0 = left + e.startSeconds * perSecond;
        QColor colour = QColor::fromRgb(e.colour);
        if (e.seconds > 0) {
            const double x1 = left + (e.startSeconds + e.seconds) * perSecond;
            QColor band = colour;
            band.setAlpha(kBandAlpha);
            p.fillRect(QRectF(x0, top, x1 - x0, bottom - top + 1), band);
        } else {
            p.setPen(QPen(colour, 0));
            p.drawLine(QPointF(x0, top), QPointF(x0, bottom));
        }
        p.setPen(colour.darker(130));
        p.drawText(QPointF(std::max(x0, left) + 2, top + p.fontMetrics().ascent()), e.title);
    }
    p.restore();
}

} // namespace viewer
