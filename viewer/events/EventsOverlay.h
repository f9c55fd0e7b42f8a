#pragma once
// The reviewer events over the traces: a transparent widget above the trace control (under
// the measurement overlay) that draws each event of the page in its type's colour, a span
// as a translucent band across the traces or its lines, an instant as a line, with its type
// and comment at the top. It takes the mouse from the measurement overlay through an event
// filter, so that the measurement's right drag and Shift drag stay as they are:
//   Ctrl+click / Ctrl+drag          an event at that instant / over that span, on all lines;
//   Ctrl+Alt+click / Ctrl+Alt+drag  the same on the line clicked;
//   click                           selects an event (Delete removes it);
//   drag an edge (or an instant)    moves it;
//   double click                    edits the event.

#include "EventTypes.h"
#include "event_list.h"

#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class CViewerCtrl;
class EventsSession;

// Time and pixel of the page on screen: the trace area of the control in its pixels.
struct PageScale {
    double left = 0;     // x of the page's start
    double width = 0;    // pixels of the page
    int64_t startMs = 0; // the page's start
    double pageMs = 0;   // its length
    bool valid() const { return width > 0 && pageMs > 0; }
    double xOf(int64_t ms) const { return left + (ms - startMs) * width / pageMs; }
    // The millisecond under `x`, kept on the page.
    int64_t msAt(double x) const;
};

class EventsOverlay : public QWidget {
public:
    // `mouseSource` is the widget above the traces that receives the mouse (the measurement
    // overlay); `posSec()` gives the page start; `edit(event)` opens the edit dialog;
    // `say(text)` writes to the status bar.
    EventsOverlay(CViewerCtrl& trace, QWidget& mouseSource, EventsSession& session,
                  const EventTypes& types, std::function<int32_t()> posSec,
                  std::function<void(const viewer::events::Event&)> edit,
                  std::function<void(const QString&)> say);

    PageScale scale() const;
    // The millisecond the mouse is at over the traces, if it is over them.
    std::optional<int64_t> mouseMs() const;
    const std::optional<viewer::events::Event>& selected() const { return selected_; }
    void select(std::optional<viewer::events::Event> e);
    // The type that Ctrl+click makes (the last one used).
    const QString& currentType() const { return currentType_; }
    void setCurrentType(const QString& type) { currentType_ = type; }
    // Makes an event of `type` from `fromMs`, `durationMs` long, on `lines`.
    void make(const QString& type, int64_t fromMs, int64_t durationMs,
              std::vector<std::string> lines);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Grab { None, Making, Onset, End, Whole };
    struct Hit {
        bool found = false;
        Grab grab = Grab::None; // what a drag from here moves
        viewer::events::Event event;
    };
    Hit hitAt(QPoint at) const;
    bool press(QMouseEvent& e);
    bool move(QMouseEvent& e);
    bool release(QMouseEvent& e);
    std::string lineAt(int y) const;
    std::pair<int, int> rowsOf(const viewer::events::Event& e) const;
    // The event as the drag under way would leave it.
    viewer::events::Event dragged(const PageScale& s) const;
    // True for the selected event while a drag moves it (drawn where the drag has it).
    bool moving(const viewer::events::Event& e) const;
    // The translucent bands of the spans among `onPage`, each pixel blended once.
    void drawBands(QPainter& p, const PageScale& s, const std::vector<size_t>& onPage);
    // The event's band (when `fill`) or line and edges.
    void drawEvent(QPainter& p, const PageScale& s, const viewer::events::Event& e, bool selected,
                   bool fill = true);

    CViewerCtrl& trace_;
    QWidget& mouseSource_;
    EventsSession& session_;
    const EventTypes& types_;
    std::function<int32_t()> posSec_;
    std::function<void(const viewer::events::Event&)> edit_;
    std::function<void(const QString&)> say_;
    QString currentType_;
    std::optional<viewer::events::Event> selected_;
    std::optional<QPoint> mouse_;
    // The drag under way: what it grabbed, the event as it was, where it began and is now.
    Grab grab_ = Grab::None;
    viewer::events::Event grabbed_;
    bool lineLinked_ = false;
    QPoint from_;
    QPoint to_;
};
