#include "MeasureOverlay.h"

#include "CViewerCtrl.h"
#include "GoToTime.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

PointReading readAt(CViewerCtrl& trace, int32_t posSec, QPoint at, int line) {
    PointReading r;
    const QPoint p = at - trace.contentsRect().topLeft();
    const int labelWidth = trace.GetMaxLarghEtichette();
    const int traceWidth = trace.clientSize().width() - labelWidth;
    const std::vector<int32_t>& rows = trace.rowCentre();
    r.sample = trace.sampleAtPixel(p.x());
    const int lines = std::min<int>(trace.lineCount(), static_cast<int>(rows.size()));
    if (r.sample < 0 || lines == 0 || traceWidth <= 0) {
        return r;
    }
    if (line >= lines) {
        return r;
    }
    // The line asked for, or the one whose row centre lies nearest.
    r.line = std::max(line, 0);
    for (int i = 1; line < 0 && i < lines; ++i) {
        if (std::abs(rows[i] - p.y()) < std::abs(rows[r.line] - p.y())) {
            r.line = i;
        }
    }
    r.elapsed = posSec + static_cast<double>(p.x() - labelWidth) * trace.secNumber() / traceWidth;
    const double whole = std::floor(r.elapsed);
    r.clock = trace.GetTime(static_cast<float>(whole)) + (r.elapsed - whole);
    r.label = trace.lineLabel(r.line);
    r.microvolts = trace.lineMicrovolts(r.line, r.sample);
    r.valid = !std::isnan(r.microvolts);
    return r;
}

QString readoutText(const PointReading& r) {
    if (!r.valid) {
        return {};
    }
    const double millis = std::round((r.clock - std::floor(r.clock)) * 1000.0);
    return QStringLiteral("%1.%2   +%3 s   %4   %5 µV")
        .arg(clockText(static_cast<int64_t>(std::floor(r.clock))))
        .arg(static_cast<int>(std::min(millis, 999.0)), 3, 10, QLatin1Char('0'))
        .arg(r.elapsed, 0, 'f', 3)
        .arg(r.label)
        .arg(r.microvolts, 0, 'f', 1);
}

QString measureText(const PointReading& from, const PointReading& to) {
    if (!from.valid || !to.valid || from.line != to.line) {
        return {};
    }
    const double dtMs = (to.elapsed - from.elapsed) * 1000.0;
    const QString rate = std::abs(dtMs) < 1e-9 ? QStringLiteral("-")
                                               : QString::number(1000.0 / std::abs(dtMs), 'f', 2);
    return QStringLiteral("Δt %1 ms (%2 Hz)   ΔA %3 µV on %4")
        .arg(dtMs, 0, 'f', 1)
        .arg(rate)
        .arg(to.microvolts - from.microvolts, 0, 'f', 1)
        .arg(from.label);
}

MeasureOverlay::MeasureOverlay(CViewerCtrl& trace, std::function<int32_t()> posSec,
                               std::function<void(ReviewCommand)> run, QLabel& status)
    : QWidget(&trace), trace_(trace), posSec_(std::move(posSec)), run_(std::move(run)),
      status_(status) {
    setObjectName(QStringLiteral("measureOverlay"));
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(trace.rect());
    trace.installEventFilter(this);
}

bool MeasureOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &trace_ && event->type() == QEvent::Resize) {
        setGeometry(trace_.rect());
    }
    return QWidget::eventFilter(watched, event);
}

void MeasureOverlay::showText(const QString& text) {
    text_ = text;
    status_.setText(text);
}

void MeasureOverlay::clearRuler() {
    if (from_ != to_) {
        update(rulerRect());
    }
    dragging_ = false;
    const bool shown = from_ != to_;
    from_ = to_ = QPoint();
    if (shown && measured_) {
        measured_();
    }
}

std::optional<std::pair<int32_t, int32_t>> MeasureOverlay::measuredSamples() const {
    const int32_t a = readAt(trace_, posSec_(), from_).sample;
    const int32_t b = readAt(trace_, posSec_(), to_).sample;
    if (from_ == to_ || a < 0 || b < 0 || a == b) {
        return std::nullopt;
    }
    return std::make_pair(std::min(a, b), std::max(a, b));
}

QRect MeasureOverlay::rulerRect() const {
    return QRect(from_, to_).normalized().adjusted(-7, -7, 7, 7);
}

void MeasureOverlay::mousePressEvent(QMouseEvent* event) {
    const bool measure =
        event->button() == Qt::RightButton ||
        (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ShiftModifier));
    // A click anywhere on the traces gives the focus where the control would: the scroll bar.
    trace_.setFocus(Qt::MouseFocusReason);
    if (!measure) {
        return;
    }
    update(rulerRect());
    dragging_ = true;
    from_ = to_ = event->position().toPoint();
}

void MeasureOverlay::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (!dragging_) {
        showText(readoutText(readAt(trace_, posSec_(), at)));
        return;
    }
    const QRect before = rulerRect();
    to_ = at;
    update(before.united(rulerRect()));
    const PointReading start = readAt(trace_, posSec_(), from_);
    showText(measureText(start, readAt(trace_, posSec_(), to_, start.line)));
}

void MeasureOverlay::mouseReleaseEvent(QMouseEvent*) {
    // The ruler and its figures stay until the next press or page.
    if (dragging_ && measured_) {
        dragging_ = false;
        measured_();
    }
    dragging_ = false;
}

void MeasureOverlay::leaveEvent(QEvent*) {
    if (!dragging_) {
        showText(QString());
    }
}

void MeasureOverlay::wheelEvent(QWheelEvent* event) {
    // Away from the user goes back in time, as in a scrolled document.
    const int notches = wheel_.add(event->angleDelta().y());
    for (int i = 0; i < std::abs(notches); ++i) {
        run_(notches > 0 ? ReviewCommand::PageBack : ReviewCommand::PageForward);
    }
    event->accept();
}

void MeasureOverlay::paintEvent(QPaintEvent*) {
    if (from_ == to_) {
        return;
    }
    QPainter p(this);
    p.setPen(QPen(QColor(200, 0, 160), 2));
    p.drawLine(from_, to_);
    for (const QPoint end : {from_, to_}) {
        p.drawLine(end.x(), end.y() - 5, end.x(), end.y() + 5);
    }
}
