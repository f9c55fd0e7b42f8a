#include "MyScrollBar.h"

#include "scroll_value.h"

#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwipsPerInch = 1440.0;
// Far beyond any screen, and well inside what a widget geometry can hold.
constexpr double kPixelLimit = 1 << 24;

QPushButton* makeArrowButton(QWidget* parent, const char* name, const QString& picture) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(16, 16));
    // The control has no keyboard handling; clicks hand the focus to the track.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void fill(QWidget* widget, QPalette::ColorRole role, QRgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, QColor::fromRgb(colour));
    widget->setPalette(palette);
}

} // namespace

// The arrow pictures live in this static library, whose resources must be registered by hand;
// this runs outside any namespace, as the registration function is declared in the global one.
static void loadArrowPictures() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(scrollbar);
        return true;
    }();
    (void)loaded;
}

MyScrollBar::MyScrollBar(QWidget* parent) : QWidget(parent) {
    loadArrowPictures();
    btnLeft_ = makeArrowButton(this, "btnLeft", QStringLiteral(":/scrollbar/arrow_left.png"));

    picture1_ = new QWidget(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setAutoFillBackground(true);
    fill(picture1_, QPalette::Window, 0xE0E0E0);
    picture1_->setFocusPolicy(Qt::ClickFocus);
    picture1_->installEventFilter(this);

    shape1_ = new QFrame(picture1_);
    shape1_->setObjectName(QStringLiteral("shape1"));
    shape1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    shape1_->setLineWidth(1);
    shape1_->setAutoFillBackground(true);
    fill(shape1_, QPalette::Window, 0xC0C0C0);
    fill(shape1_, QPalette::WindowText, 0x808080);
    // The thumb is drawn only: presses on it belong to the track, which decides what they hit.
    shape1_->setAttribute(Qt::WA_TransparentForMouseEvents);

    btnRight_ = makeArrowButton(this, "btnRight", QStringLiteral(":/scrollbar/arrow_right.png"));

    setFocusProxy(picture1_);
    connect(btnLeft_, &QPushButton::clicked, this, &MyScrollBar::leftButtonClicked);
    connect(btnRight_, &QPushButton::clicked, this, &MyScrollBar::rightButtonClicked);
}

// ---- Properties ---------------------------------------------------------------------------

void MyScrollBar::setEnabledFlag(bool v) {
    enabled_ = v;
    setModified();
}

void MyScrollBar::setSmallChange(int32_t v) {
    smallChange_ = v;
    setModified();
}

void MyScrollBar::setMin(int32_t v) {
    min_ = v;
    ReCalc();
    setModified();
}

void MyScrollBar::setMax(int32_t v) {
    max_ = v;
    ReCalc();
    setModified();
}

void MyScrollBar::setChangeType(int16_t v) {
    changeType_ = v;
    setModified();
}

void MyScrollBar::setTimeUnit(const QVariant& v) {
    timeUnit_ = v;
    setModified();
}

double MyScrollBar::Value() const { return value_ >= 0 ? value_ : 0.0; }

void MyScrollBar::setValue(double v) {
    value_ = scrollbar::acceptedValue(v, min_, max_, largeChange());
    ReCalc();
    emit change();
    setModified();
}

double MyScrollBar::largeChange() const {
    // A page below 0.0005 is stored as 0 and would make the step 0; it counts as one unit.
    return largeChange_ > 0 ? largeChange_ : 1.0;
}

void MyScrollBar::setLargeChange(double v) {
    largeChange_ = scrollbar::truncateToThousandths(v);
    setValue(Value());
    ReCalc();
    setModified();
}

void MyScrollBar::setScrollingChangeEvent(bool v) {
    scrollingChangeEvent_ = v;
    setModified();
}

// ---- Layout -------------------------------------------------------------------------------

double MyScrollBar::twipsPerPixelX() const { return kTwipsPerInch / logicalDpiX(); }

double MyScrollBar::twipsPerPixelY() const { return kTwipsPerInch / logicalDpiY(); }

int MyScrollBar::toPixelsX(double twips) const {
    const double pixels = std::clamp(twips / twipsPerPixelX(), -kPixelLimit, kPixelLimit);
    return std::isnan(pixels) ? 0 : static_cast<int>(std::lround(pixels));
}

void MyScrollBar::ReCalc() {
    if (max_ != 0) {
        geometry_.placeThumb(max_, largeChange(), Value());
    }
    showThumb();
}

void MyScrollBar::showThumb() {
    shape1_->setGeometry(toPixelsX(geometry_.thumbLeft()), 0,
                         std::max(toPixelsX(geometry_.thumbWidth()), 0), height());
}

void MyScrollBar::layoutChildren() {
    geometry_.resize(width() * twipsPerPixelX(), height() * twipsPerPixelY());
    const int button = toPixelsX(geometry_.buttonWidth());
    btnLeft_->setGeometry(0, 0, button, height());
    picture1_->setGeometry(toPixelsX(geometry_.trackLeft()), 0, toPixelsX(geometry_.trackWidth()),
                           height());
    btnRight_->setGeometry(toPixelsX(geometry_.rightButtonLeft()), 0, button, height());
    realWidth_ = static_cast<int32_t>(scrollbar::roundHalfEven(geometry_.buttonWidth()));
    ReCalc();
}

void MyScrollBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutChildren();
}

void MyScrollBar::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ReCalc();
}

// ---- Mouse and buttons --------------------------------------------------------------------

bool MyScrollBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picture1_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            trackPressed(static_cast<const QMouseEvent&>(*event));
            return true;
        case QEvent::MouseMove:
            trackMoved(static_cast<const QMouseEvent&>(*event));
            return true;
        case QEvent::MouseButtonRelease:
            trackReleased(static_cast<const QMouseEvent&>(*event));
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MyScrollBar::trackPressed(const QMouseEvent& event) {
    const double x = event.position().x() * twipsPerPixelX();
    // Without room on the track no position can be taken from the thumb, so it is not dragged.
    if (event.button() == Qt::LeftButton && geometry_.hasRoom() && geometry_.onThumb(x)) {
        dragging_ = true;
        grabOffset_ = geometry_.grabOffset(x);
    }
}

void MyScrollBar::trackMoved(const QMouseEvent& event) {
    if (!dragging_ || !geometry_.hasRoom()) {
        return;
    }
    geometry_.dragThumb(event.position().x() * twipsPerPixelX(), grabOffset_);
    showThumb();
    const double v = scrollbar::truncateToThousandths(geometry_.thumbPosition(max_));
    if (scrollingChangeEvent_) {
        setValue(v);
    }
    float tip = static_cast<float>(v);
    emit ChangeToolTip(tip);
}

void MyScrollBar::trackReleased(const QMouseEvent& event) {
    // Any button ends a drag, even one that changes nothing below.
    const bool wasDragging = dragging_;
    dragging_ = false;
    if (largeChange() > max_) {
        return;
    }
    if (wasDragging) {
        setChangeType(ThumbReleased);
        if (geometry_.hasRoom()) {
            setValue(geometry_.thumbPosition(max_));
        }
        return;
    }
    const double x = event.position().x() * twipsPerPixelX();
    if (geometry_.onThumb(x)) {
        return;
    }
    if (x > geometry_.thumbRight()) {
        setChangeType(TrackRightOfThumb);
        setValue(Value() + largeChange());
    } else {
        setChangeType(TrackLeftOfThumb);
        setValue(Value() - largeChange());
    }
    ReCalc();
}

void MyScrollBar::leftButtonClicked() {
    setValue(Value() - smallChange_);
    setChangeType(LeftButton);
    ReCalc();
    picture1_->setFocus();
}

void MyScrollBar::rightButtonClicked() {
    if (largeChange() > max_) {
        return;
    }
    setValue(Value() + smallChange_);
    setChangeType(RightButton);
    ReCalc();
    picture1_->setFocus();
}
