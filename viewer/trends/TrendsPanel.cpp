#include "TrendsPanel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace tr = viewer::trends;

namespace {

struct Zoom {
    const char* text;
    double seconds;
};
constexpr Zoom kZooms[] = {{"Whole recording", 0.0},
                           {"24 h", 86400.0},
                           {"4 h", 14400.0},
                           {"1 h", 3600.0},
                           {"15 min", 900.0}};

QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Viewer"),
                     QStringLiteral("Viewer"));
}

QSpinBox* spin(QWidget* parent, int low, int high, int value, const QString& suffix) {
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setValue(std::clamp(value, low, high));
    box->setSuffix(suffix);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

} // namespace

TrendsPanel::TrendsPanel(std::function<void(double)> jump, std::function<void()> segmentChanged,
                         QWidget* parent)
    : QDockWidget(QStringLiteral("Trends"), parent) {
    setObjectName(QStringLiteral("trendsPanel"));
    setAllowedAreas(Qt::TopDockWidgetArea | Qt::BottomDockWidgetArea);
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);
    auto* header = new QHBoxLayout;
    status_ = new QLabel(body);
    status_->setObjectName(QStringLiteral("trendsStatus"));
    header->addWidget(status_, 1);
    QSettings s = store();
    s.beginGroup(QStringLiteral("Trends"));
    zoom_ = new QComboBox(body);
    zoom_->setObjectName(QStringLiteral("trendsZoom"));
    zoom_->setFocusPolicy(Qt::ClickFocus);
    for (const Zoom& z : kZooms) {
        zoom_->addItem(QString::fromUtf8(z.text), z.seconds);
    }
    zoom_->setCurrentIndex(std::clamp(s.value(QStringLiteral("Zoom"), 0).toInt(), 0,
                                      static_cast<int>(std::size(kZooms)) - 1));
    segment_ = spin(body, 2, 60, s.value(QStringLiteral("SegmentSeconds"), 10).toInt(),
                    QStringLiteral(" s segments"));
    segment_->setObjectName(QStringLiteral("trendsSegment"));
    lowDb_ =
        spin(body, -60, 60, s.value(QStringLiteral("LowDb"), -10).toInt(), QStringLiteral(" dB"));
    highDb_ =
        spin(body, -60, 80, s.value(QStringLiteral("HighDb"), 30).toInt(), QStringLiteral(" dB"));
    header->addWidget(new QLabel(QStringLiteral("Colours"), body));
    header->addWidget(lowDb_);
    header->addWidget(new QLabel(QStringLiteral("to"), body));
    header->addWidget(highDb_);
    header->addWidget(segment_);
    header->addWidget(zoom_);
    column->addLayout(header);
    canvas_ = new TrendsCanvas(
        std::move(jump), [this](const QString& t) { values_->setText(t); }, body);
    column->addWidget(canvas_, 1);
    values_ = new QLabel(body);
    values_->setObjectName(QStringLiteral("trendsValues"));
    values_->setMinimumHeight(values_->fontMetrics().height());
    column->addWidget(values_);
    setWidget(body);

    connect(zoom_, &QComboBox::currentIndexChanged, this, [this] { viewChanged(); });
    for (QSpinBox* box : {lowDb_, highDb_}) {
        connect(box, &QSpinBox::valueChanged, this, [this] { viewChanged(); });
    }
    connect(segment_, &QSpinBox::editingFinished, this, [this, segmentChanged] {
        // Leaving the box unchanged starts nothing again.
        if (segment_->value() != segmentInForce_) {
            segmentInForce_ = segment_->value();
            saveSettings();
            segmentChanged();
        }
    });
    segmentInForce_ = segment_->value();
    viewChanged();
}

double TrendsPanel::segmentSeconds() const { return segment_->value(); }

void TrendsPanel::saveSettings() const {
    QSettings s = store();
    s.beginGroup(QStringLiteral("Trends"));
    s.setValue(QStringLiteral("SegmentSeconds"), segment_->value());
    s.setValue(QStringLiteral("LowDb"), lowDb_->value());
    s.setValue(QStringLiteral("HighDb"), highDb_->value());
    s.setValue(QStringLiteral("Zoom"), zoom_->currentIndex());
}

void TrendsPanel::viewChanged() {
    canvas_->view().lowDb = lowDb_->value();
    canvas_->view().highDb = std::max(highDb_->value(), lowDb_->value() + 1);
    canvas_->setSpan(zoom_->currentData().toDouble());
    saveSettings();
}

void TrendsPanel::show(const tr::TrendData* data, const QString& status) {
    status_->setText(status);
    canvas_->setData(data);
}

void TrendsPanel::dataChanged(const QString& status) {
    status_->setText(status);
    // Blocks come in many a second: the picture is drawn again at most twice a second.
    if (!redrawPending_) {
        redrawPending_ = true;
        QTimer::singleShot(500, this, [this] {
            redrawPending_ = false;
            canvas_->redraw();
        });
    }
}

void TrendsPanel::follow(double seconds, double length) { canvas_->follow(seconds, length); }

void TrendsPanel::setMarks(std::vector<double> notes, std::vector<double> events, int startClock) {
    TrendsView& v = canvas_->view();
    v.notes = std::move(notes);
    v.events = std::move(events);
    v.startClock = startClock;
    canvas_->redraw();
}

TrendsCanvas::TrendsCanvas(std::function<void(double)> jump,
                           std::function<void(const QString&)> hover, QWidget* parent)
    : QWidget(parent), jump_(std::move(jump)), hover_(std::move(hover)) {
    setObjectName(QStringLiteral("trendsCanvas"));
    setMouseTracking(true);
    setMinimumHeight(300);
    setCursor(Qt::PointingHandCursor);
}

void TrendsCanvas::setData(const tr::TrendData* data) {
    data_ = data;
    place(true);
}

double TrendsCanvas::total() const {
    return data_ == nullptr || data_->rate <= 0.0 ? 0.0 : data_->frames / data_->rate;
}

void TrendsCanvas::setSpan(double seconds) {
    span_ = seconds;
    place(true);
}

void TrendsCanvas::place(bool recentre) {
    const double total = std::max(this->total(), 1.0);
    const double span = span_ <= 0.0 || span_ >= total ? total : span_;
    const double cursor = std::max(view_.cursor, 0.0) + view_.cursorLength / 2;
    const double margin = span / 10.0;
    if (recentre || view_.to - view_.from != span || cursor < view_.from + margin ||
        cursor > view_.to - margin) {
        view_.from = std::clamp(cursor - span / 2.0, 0.0, total - span);
        view_.to = view_.from + span;
        redraw();
    }
}

void TrendsCanvas::follow(double seconds, double length) {
    view_.cursor = seconds;
    view_.cursorLength = length;
    place(false);
    update();
}

void TrendsCanvas::redraw() {
    picture_ = QImage(size(), QImage::Format_RGB32);
    QPainter p(&picture_);
    if (data_ != nullptr && data_->segments > 0) {
        drawTrends(p, rect(), *data_, view_);
    } else {
        picture_.fill(Qt::white);
    }
    update();
}

void TrendsCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (picture_.size() != size()) {
        redraw();
    }
    p.drawImage(0, 0, picture_);
    if (data_ != nullptr && data_->segments > 0) {
        drawTrendsCursor(p, rect(), view_);
    }
}

void TrendsCanvas::resizeEvent(QResizeEvent*) { redraw(); }

double TrendsCanvas::secondsAt(int x) const {
    const TrendsLayout l(rect(), QFontMetrics(trendsFont()).height());
    return l.secondsAt(x, view_);
}

void TrendsCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && data_ != nullptr && data_->segments > 0) {
        jump_(secondsAt(event->position().toPoint().x()));
    }
}

void TrendsCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) != 0 && data_ != nullptr && data_->segments > 0) {
        jump_(secondsAt(at.x()));
    }
    hover_(valuesAt(at));
}

void TrendsCanvas::leaveEvent(QEvent*) { hover_(QString()); }

QString TrendsCanvas::valuesAt(const QPoint& at) const {
    if (data_ == nullptr || data_->segments == 0) {
        return {};
    }
    const TrendsLayout l(rect(), QFontMetrics(trendsFont()).height());
    if (!l.plot.contains(at)) {
        return {};
    }
    for (int r = 0; r < tr::kRegionCount; ++r) {
        const QRect& row = l.regions[r];
        if (row.contains(at)) {
            const int bin = (row.bottom() - at.y()) * tr::kBins / row.height();
            return trendsValuesAt(*data_, view_, l.secondsAt(at.x(), view_), r, bin);
        }
    }
    return trendsValuesAt(*data_, view_, l.secondsAt(at.x(), view_));
}
