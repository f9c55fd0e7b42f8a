#include "TimeRuler.h"

#include "CViewerCtrl.h"
#include "GoToTime.h"
#include "text_face.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kSteps[] = {1, 2, 5, 10, 30};
constexpr int kLabelGap = 12;
constexpr int kTickHeight = 5;

} // namespace

int chooseTickStep(double pixelsPerSecond, int labelPixels) {
    for (const int step : kSteps) {
        if (step * pixelsPerSecond >= labelPixels) {
            return step;
        }
    }
    return kSteps[std::size(kSteps) - 1];
}

std::vector<RulerTick> rulerTicks(int32_t pageMs, int step,
                                  const std::function<int64_t(int32_t)>& clockOf,
                                  const std::function<int32_t(int32_t)>& pixelOf) {
    std::vector<RulerTick> ticks;
    for (int32_t k = 0; static_cast<int64_t>(k) * 1000 <= pageMs; ++k) {
        const int64_t clock = clockOf(k);
        if (step <= 0 || clock % step != 0) {
            continue;
        }
        const int32_t x = pixelOf(k * 1000);
        if (x >= 0) {
            ticks.push_back({x, clockText(clock)});
        }
    }
    return ticks;
}

TimeRuler::TimeRuler(CViewerCtrl& trace, QWidget* parent) : QWidget(parent), trace_(trace) {
    setObjectName(QStringLiteral("timeRuler"));
    setAutoFillBackground(true);
    QFont face = textFont(font().family());
    face.setPointSizeF(font().pointSizeF());
    setFont(face);
}

QSize TimeRuler::sizeHint() const { return {200, fontMetrics().height() + kTickHeight + 2}; }

int TimeRuler::labelPixels() const {
    return fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + kLabelGap;
}

void TimeRuler::follow(int32_t posSec) {
    posSec_ = posSec;
    ticks_.clear();
    const auto pageMs = static_cast<int32_t>(std::lround(trace_.secNumber() * 1000.0));
    const int traceWidth = trace_.clientSize().width() - trace_.GetMaxLarghEtichette();
    if (trace_.totalTrcSec() > 0 && pageMs > 0 && traceWidth > 0) {
        step_ = chooseTickStep(traceWidth * 1000.0 / pageMs, labelPixels());
        ticks_ = rulerTicks(
            pageMs, step_, [this](int32_t k) { return int64_t{trace_.GetMont(posSec_ + k)}; },
            [this](int32_t ms) { return trace_.GetPixelPosition(ms); });
    }
    update();
}

void TimeRuler::setMarks(std::vector<RulerMark> marks) {
    if (marks.empty() && marks_.empty()) {
        return;
    }
    marks_ = std::move(marks);
    update();
}

void TimeRuler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPoint origin = mapFromGlobal(trace_.mapToGlobal(trace_.contentsRect().topLeft()));
    for (const RulerMark& m : marks_) {
        // A band of the event's length, at least three pixels wide, along the top edge.
        p.fillRect(QRect(origin.x() + m.x0 - 1, 0, std::max(m.x1 - m.x0, 1) + 2, kTickHeight),
                   m.colour);
    }
    p.setPen(palette().color(QPalette::WindowText));
    const int textWidth = labelPixels() - kLabelGap;
    int freeFrom = std::numeric_limits<int>::min(); // where the last label drawn ends
    for (const RulerTick& tick : ticks_) {
        const int x = origin.x() + tick.x;
        p.drawLine(x, 0, x, kTickHeight);
        // Labels centred on their tick, kept inside the strip at both ends; one that the
        // strip's end pushes onto the label before it keeps only its tick.
        const int left = std::clamp(x - textWidth / 2, 0, std::max(0, width() - textWidth));
        if (left < freeFrom) {
            continue;
        }
        p.drawText(QRect(left, kTickHeight, textWidth, height() - kTickHeight),
                   Qt::AlignHCenter | Qt::AlignTop, tick.text);
        freeFrom = left + textWidth + kLabelGap / 2;
    }
}
