#include "DataEndMark.h"

#include "CViewerCtrl.h"

#include <QEvent>
#include <QPainter>

namespace {

const QColor kMarkColour(120, 120, 120);
constexpr int kLabelMargin = 4;
constexpr QLatin1String kLabel("End of data");

} // namespace

int32_t dataEndOnPage(const CViewerCtrl& trace) {
    const viewer::Recording& rec = trace.recording();
    if (!rec.isOpen() || rec.header.rate == 0 || rec.currentMontage.numLines == 0) {
        return -1;
    }
    const int64_t left = rec.totalSamples - static_cast<int64_t>(rec.pageStart);
    if (left <= 0 || left >= static_cast<int64_t>(rec.samplesPerPage)) {
        return -1;
    }
    return static_cast<int32_t>(left * 1000 / rec.header.rate);
}

DataEndMark::DataEndMark(CViewerCtrl& trace) : QWidget(&trace), trace_(trace) {
    setObjectName(QStringLiteral("dataEndMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(trace.rect());
    trace.installEventFilter(this);
}

bool DataEndMark::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &trace_ && event->type() == QEvent::Resize) {
        setGeometry(trace_.rect());
    }
    return QWidget::eventFilter(watched, event);
}

QRect DataEndMark::markRect() const {
    if (column_ < 0) {
        return {};
    }
    const QRect client = trace_.contentsRect();
    return QRect(QPoint(client.left() + column_, client.top()), client.bottomRight());
}

void DataEndMark::follow() {
    const int32_t ms = dataEndOnPage(trace_);
    const int32_t column = ms < 0 ? -1 : trace_.GetPixelPosition(ms);
    if (column == column_) {
        return;
    }
    // The label may sit before the line.
    const int labelRoom = fontMetrics().horizontalAdvance(kLabel) + 4 * kLabelMargin;
    const QRect before = markRect().adjusted(-labelRoom, 0, 0, 0);
    column_ = column;
    update(before.united(markRect().adjusted(-labelRoom, 0, 0, 0)));
}

void DataEndMark::paintEvent(QPaintEvent*) {
    const QRect area = markRect();
    if (area.isEmpty()) {
        return;
    }
    QPainter p(this);
    p.fillRect(area, QBrush(kMarkColour, Qt::BDiagPattern));
    p.setPen(QPen(kMarkColour, 2));
    p.drawLine(area.topLeft(), area.bottomLeft());
    const QRect box = p.fontMetrics().boundingRect(kLabel).adjusted(-kLabelMargin, -kLabelMargin,
                                                                    kLabelMargin, kLabelMargin);
    // After the line when the hatching has room for it, else before it.
    const int left = area.width() > box.width() + 2 * kLabelMargin
                         ? area.left() + kLabelMargin
                         : area.left() - kLabelMargin - box.width();
    const QRect label(left, area.bottom() - box.height() - kLabelMargin, box.width(), box.height());
    p.fillRect(label, palette().color(QPalette::Base));
    p.setPen(palette().color(QPalette::Text));
    p.drawText(label, Qt::AlignCenter, kLabel);
}
