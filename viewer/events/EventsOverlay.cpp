#include "EventsOverlay.h"

#include "CViewerCtrl.h"
#include "EventMarks.h"
#include "EventsSession.h"
#include "event_store.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

namespace ev = viewer::events;

namespace {

constexpr int kGrabPixels = 4;  // how near an edge the mouse takes it
constexpr int kClickPixels = 4; // a Ctrl drag shorter than this is a click
constexpr int kBandAlpha = 56;

} // namespace

int64_t PageScale::msAt(double x) const {
    const double clamped = std::clamp(x, left, left + width);
    return startMs + std::llround((clamped - left) * pageMs / width);
}

EventsOverlay::EventsOverlay(CViewerCtrl& trace, QWidget& mouseSource, EventsSession& session,
                             const EventTypes& types, std::function<int32_t()> posSec,
                             std::function<void(const ev::Event&)> edit,
                             std::function<void(const QString&)> say)
    : QWidget(&trace), trace_(trace), mouseSource_(mouseSource), session_(session), types_(types),
      posSec_(std::move(posSec)), edit_(std::move(edit)), say_(std::move(say)),
      currentType_(types.all().empty() ? QStringLiteral("Comment") : types.all().front().name) {
    setObjectName(QStringLiteral("eventsOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(trace.rect());
    stackUnder(&mouseSource);
    trace.installEventFilter(this);
    mouseSource.installEventFilter(this);
}

PageScale EventsOverlay::scale() const {
    PageScale s;
    const int labels = trace_.GetMaxLarghEtichette();
    s.left = trace_.contentsRect().left() + labels;
    s.width = trace_.clientSize().width() - labels;
    s.startMs = int64_t{posSec_()} * 1000;
    s.pageMs = static_cast<double>(trace_.secNumber()) * 1000.0;
    return s;
}

std::optional<int64_t> EventsOverlay::mouseMs() const {
    const PageScale s = scale();
    if (!mouse_ || !s.valid() || mouse_->x() < s.left || mouse_->x() >= s.left + s.width) {
        return std::nullopt;
    }
    return s.msAt(mouse_->x());
}

void EventsOverlay::select(std::optional<ev::Event> e) {
    selected_ = std::move(e);
    update();
}

std::pair<int, int> EventsOverlay::rowsOf(const ev::Event& e) const {
    const QRect area = trace_.contentsRect();
    const std::vector<int32_t>& rows = trace_.rowCentre();
    const std::vector<int> lines = eventLineIndices(trace_, e.lines);
    if (lines.empty() || rows.empty()) {
        return {area.top(), area.bottom()};
    }
    const int half = rows.size() > 1 ? (rows[1] - rows[0]) / 2 : area.height() / 2;
    int top = area.bottom();
    int bottom = area.top();
    for (const int i : lines) {
        if (static_cast<size_t>(i) < rows.size()) {
            top = std::min(top, area.top() + rows[static_cast<size_t>(i)] - half);
            bottom = std::max(bottom, area.top() + rows[static_cast<size_t>(i)] + half);
        }
    }
    return top <= bottom ? std::pair{top, bottom} : std::pair{area.top(), area.bottom()};
}

std::string EventsOverlay::lineAt(int y) const {
    const std::vector<int32_t>& rows = trace_.rowCentre();
    const int lines = std::min<int>(trace_.lineCount(), static_cast<int>(rows.size()));
    const int at = y - trace_.contentsRect().top();
    int best = -1;
    for (int i = 0; i < lines; ++i) {
        if (best < 0 || std::abs(rows[i] - at) < std::abs(rows[best] - at)) {
            best = i;
        }
    }
    return best < 0 ? std::string() : trace_.lineLabel(best).toStdString();
}

EventsOverlay::Hit EventsOverlay::hitAt(QPoint at) const {
    const PageScale s = scale();
    if (!s.valid()) {
        return {};
    }
    const ev::EventList& events = session_.events();
    const std::vector<size_t> onPage =
        events.overlapping(s.startMs, s.startMs + static_cast<int64_t>(s.pageMs));
    // The last drawn lies on top.
    for (auto it = onPage.rbegin(); it != onPage.rend(); ++it) {
        const ev::Event& e = events.at(*it);
        const auto [top, bottom] = rowsOf(e);
        if (at.y() < top || at.y() > bottom) {
            continue;
        }
        const double x0 = s.xOf(e.onsetMs);
        const double x1 = s.xOf(e.endMs());
        if (e.durationMs == 0) {
            if (std::abs(at.x() - x0) <= kGrabPixels) {
                return {true, Grab::Whole, e};
            }
        } else if (std::abs(at.x() - x0) <= kGrabPixels) {
            return {true, Grab::Onset, e};
        } else if (std::abs(at.x() - x1) <= kGrabPixels) {
            return {true, Grab::End, e};
        } else if (at.x() > x0 && at.x() < x1) {
            return {true, Grab::None, e};
        }
    }
    return {};
}

void EventsOverlay::make(const QString& type, int64_t fromMs, int64_t durationMs,
                         std::vector<std::string> lines) {
    const ev::Event e{std::max<int64_t>(fromMs, 0),
                      durationMs,
                      type.toStdString(),
                      {},
                      std::move(lines),
                      ev::currentUser(),
                      ev::utcNow()};
    const QString when = eventClockText(trace_, e.onsetMs / 1000.0);
    if (session_.events().containsFinding(e)) {
        say_(QStringLiteral("%1 at %2 is marked already").arg(type, when));
        return;
    }
    QString why;
    if (!session_.change(QStringLiteral("Mark %1").arg(type), {}, {e}, &why)) {
        say_(QStringLiteral("Nothing marked: %1").arg(why));
        return;
    }
    currentType_ = type;
    select(e);
    say_(QStringLiteral("Marked %1 at %2 (double-click to edit, Ctrl+Z to undo)").arg(type, when));
}

bool EventsOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &trace_) {
        if (event->type() == QEvent::Resize) {
            setGeometry(trace_.rect());
        }
        return false;
    }
    if (watched != &mouseSource_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return press(*static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return move(*static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return release(*static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonDblClick: {
        auto& e = *static_cast<QMouseEvent*>(event);
        const Hit hit = hitAt(e.position().toPoint());
        if (e.button() != Qt::LeftButton || !hit.found) {
            return false;
        }
        grab_ = Grab::None;
        edit_(hit.event);
        return true;
    }
    case QEvent::Leave:
        mouse_.reset();
        return false;
    default:
        return false;
    }
}

bool EventsOverlay::press(QMouseEvent& e) {
    if (e.button() != Qt::LeftButton) {
        return false;
    }
    const QPoint at = e.position().toPoint();
    const Qt::KeyboardModifiers mods = e.modifiers();
    if (mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::ShiftModifier)) {
        trace_.setFocus(Qt::MouseFocusReason);
        grab_ = Grab::Making;
        lineLinked_ = mods.testFlag(Qt::AltModifier);
        from_ = to_ = at;
        return true;
    }
    if (mods != Qt::NoModifier) {
        return false; // Shift and the left button measure
    }
    const Hit hit = hitAt(at);
    if (!hit.found) {
        select(std::nullopt);
        return false;
    }
    trace_.setFocus(Qt::MouseFocusReason);
    select(hit.event);
    grab_ = hit.grab;
    grabbed_ = hit.event;
    from_ = to_ = at;
    return true;
}

bool EventsOverlay::move(QMouseEvent& e) {
    const QPoint at = e.position().toPoint();
    if (grab_ != Grab::None) {
        to_ = at;
        update();
        return true;
    }
    mouse_ = at;
    const Grab under = hitAt(at).grab;
    if (under == Grab::None) {
        mouseSource_.unsetCursor();
    } else {
        mouseSource_.setCursor(Qt::SizeHorCursor);
    }
    return false;
}

bool EventsOverlay::release(QMouseEvent& e) {
    if (e.button() != Qt::LeftButton || grab_ == Grab::None) {
        return false;
    }
    const Grab grab = std::exchange(grab_, Grab::None);
    const PageScale s = scale();
    update();
    if (!s.valid()) {
        return true;
    }
    if (grab == Grab::Making) {
        std::vector<std::string> lines;
        if (lineLinked_) {
            lines.push_back(lineAt(from_.y()));
        }
        const int64_t a = s.msAt(std::min(from_.x(), to_.x()));
        const int64_t b = s.msAt(std::max(from_.x(), to_.x()));
        const bool click = std::abs(to_.x() - from_.x()) < kClickPixels;
        make(currentType_, click ? s.msAt(from_.x()) : a, click ? 0 : b - a, std::move(lines));
        return true;
    }
    if (std::abs(to_.x() - from_.x()) < 2) {
        return true; // a click: the event stays selected
    }
    grab_ = grab;
    const ev::Event moved = dragged(s);
    grab_ = Grab::None;
    QString why;
    if (session_.change(QStringLiteral("Move %1").arg(QString::fromStdString(moved.type)),
                        {grabbed_}, {moved}, &why)) {
        select(moved);
    } else {
        say_(QStringLiteral("Nothing moved: %1").arg(why));
    }
    return true;
}

ev::Event EventsOverlay::dragged(const PageScale& s) const {
    ev::Event moved = grabbed_;
    const int64_t at = s.msAt(to_.x());
    if (grab_ == Grab::Whole) {
        moved.onsetMs = at;
    } else if (grab_ == Grab::Onset || grab_ == Grab::End) {
        const int64_t other = grab_ == Grab::Onset ? grabbed_.endMs() : grabbed_.onsetMs;
        moved.onsetMs = std::min(at, other);
        moved.durationMs = std::abs(other - at);
    }
    return moved;
}

namespace {

// The translucent bands of one stretch of rows, laid over each other one pixel column at a
// time and drawn as one picture: a page crowded with spans costs one fill, not one per span.
class BandStrip {
public:
    BandStrip(int left, int width)
        : left_(left), strip_(std::max(width, 1), 1, QImage::Format_ARGB32_Premultiplied) {
        strip_.fill(Qt::transparent);
    }
    void add(double x0, double x1, QColor colour) {
        const QRgb src = qPremultiply(colour.rgba());
        const auto* end = reinterpret_cast<QRgb*>(strip_.scanLine(0)) + strip_.width();
        auto* px = reinterpret_cast<QRgb*>(strip_.scanLine(0));
        const int from = std::clamp(static_cast<int>(std::floor(x0)) - left_, 0, strip_.width());
        const int to = std::clamp(static_cast<int>(std::ceil(x1)) - left_, from, strip_.width());
        const int keep = 255 - qAlpha(src);
        for (QRgb* d = px + from; d < px + to && d < end; ++d) {
            *d = qRgba(qRed(src) + qRed(*d) * keep / 255, qGreen(src) + qGreen(*d) * keep / 255,
                       qBlue(src) + qBlue(*d) * keep / 255, qAlpha(src) + qAlpha(*d) * keep / 255);
        }
    }
    // The strip repeated down the rows and drawn unscaled: every pixel is blended once.
    void draw(QPainter& p, int top, int bottom) const {
        QImage block(strip_.width(), bottom - top + 1, QImage::Format_ARGB32_Premultiplied);
        const auto bytes = static_cast<size_t>(strip_.width()) * sizeof(QRgb);
        for (int y = 0; y < block.height(); ++y) {
            std::memcpy(block.scanLine(y), strip_.constScanLine(0), bytes);
        }
        p.drawImage(QPoint(left_, top), block);
    }

private:
    int left_;
    QImage strip_;
};

} // namespace

void EventsOverlay::drawEvent(QPainter& p, const PageScale& s, const ev::Event& e, bool selected,
                              bool fill) {
    const auto [top, bottom] = rowsOf(e);
    const QColor colour = types_.colourOf(QString::fromStdString(e.type));
    const double x0 = s.xOf(e.onsetMs);
    if (e.durationMs > 0) {
        const double x1 = s.xOf(e.endMs());
        QColor band = colour;
        band.setAlpha(kBandAlpha);
        if (fill) {
            p.fillRect(QRectF(x0, top, x1 - x0, bottom - top + 1), band);
        }
        p.setPen(QPen(colour, selected ? 2 : 1));
        p.drawLine(QPointF(x0, top), QPointF(x0, bottom));
        p.drawLine(QPointF(x1, top), QPointF(x1, bottom));
    } else {
        p.setPen(QPen(colour, selected ? 3 : 2));
        p.drawLine(QPointF(x0, top), QPointF(x0, bottom));
    }
}

bool EventsOverlay::moving(const ev::Event& e) const {
    return selected_ && *selected_ == e && grab_ != Grab::None && grab_ != Grab::Making;
}

void EventsOverlay::drawBands(QPainter& p, const PageScale& s, const std::vector<size_t>& onPage) {
    const ev::EventList& events = session_.events();
    std::map<std::pair<int, int>, BandStrip> bands; // by the rows they cover
    for (const size_t i : onPage) {
        const ev::Event& e = events.at(i);
        if (e.durationMs > 0 && !moving(e)) {
            QColor colour = types_.colourOf(QString::fromStdString(e.type));
            colour.setAlpha(kBandAlpha);
            auto it =
                bands.try_emplace(rowsOf(e), static_cast<int>(s.left), static_cast<int>(s.width))
                    .first;
            it->second.add(s.xOf(e.onsetMs), s.xOf(e.endMs()), colour);
        }
    }
    for (const auto& [rows, strip] : bands) {
        strip.draw(p, rows.first, rows.second);
    }
}

void EventsOverlay::paintEvent(QPaintEvent*) {
    const PageScale s = scale();
    if (!s.valid() || !session_.isOpen()) {
        return;
    }
    const ev::EventList& events = session_.events();
    const std::vector<size_t> onPage =
        events.overlapping(s.startMs, s.startMs + static_cast<int64_t>(s.pageMs));
    if (onPage.empty() && grab_ == Grab::None) {
        return;
    }
    QPainter p(this);
    p.setClipRect(QRectF(s.left, 0, s.width, height()));
    // Titles where there is room: a crowded page shows the first of each crowd.
    std::map<int, double> titleEnd; // by the top of the mark
    const auto title = [&](const ev::Event& e) {
        const int top = rowsOf(e).first;
        const double x = std::max(s.xOf(e.onsetMs), s.left) + 3;
        const auto it = titleEnd.find(top);
        if (it != titleEnd.end() && x < it->second) {
            return;
        }
        const QString comment = QString::fromStdString(e.comment);
        const QString text = (QString::fromStdString(e.type) +
                              (comment.isEmpty() ? QString() : QStringLiteral(": ") + comment))
                                 .simplified();
        p.setPen(types_.colourOf(QString::fromStdString(e.type)).darker(140));
        p.drawText(QPointF(x, top + p.fontMetrics().ascent() + 1), text);
        titleEnd[top] = x + p.fontMetrics().horizontalAdvance(text) + 6;
    };
    drawBands(p, s, onPage);
    for (const size_t i : onPage) {
        const ev::Event& e = events.at(i);
        if (!moving(e)) {
            drawEvent(p, s, e, selected_ && *selected_ == e, false);
            title(e);
        }
    }
    if (grab_ == Grab::Making) {
        ev::Event preview{
            s.msAt(std::min(from_.x(), to_.x())), 0, currentType_.toStdString(), {}, {}, {}, {}};
        preview.durationMs = s.msAt(std::max(from_.x(), to_.x())) - preview.onsetMs;
        if (lineLinked_) {
            preview.lines.push_back(lineAt(from_.y()));
        }
        drawEvent(p, s, preview, true);
    } else if (grab_ != Grab::None) {
        drawEvent(p, s, dragged(s), true);
    }
}
