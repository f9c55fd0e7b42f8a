#pragma once
// The time ruler: a thin strip under the traces that writes the clock time at whole-second
// ticks of the page, at the pixels where the trace control draws those seconds.

#include <QColor>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class CViewerCtrl;

// The first of every 1, 2, 5, 10 or 30 seconds whose ticks lie at least `labelPixels`
// apart when a second is `pixelsPerSecond` wide; 30 when even that is too close.
int chooseTickStep(double pixelsPerSecond, int labelPixels);

struct RulerTick {
    int32_t x = 0; // pixel column of the trace control
    QString text;  // clock time
};

// Ticks of a page `pageMs` long at the whole seconds k whose clock time (`clockOf(k)`,
// seconds of the day) is a multiple of `step`; x from `pixelOf(ms)` (the control's
// GetPixelPosition), ticks it places outside the page left out.
std::vector<RulerTick> rulerTicks(int32_t pageMs, int step,
                                  const std::function<int64_t(int32_t)>& clockOf,
                                  const std::function<int32_t(int32_t)>& pixelOf);

// A reviewer event on the ruler: its pixel columns on the trace control and its colour.
struct RulerMark {
    int32_t x0 = 0;
    int32_t x1 = 0; // x0 for an instant
    QColor colour;
};

class TimeRuler : public QWidget {
public:
    TimeRuler(CViewerCtrl& trace, QWidget* parent);

    // Recomputes the ticks for the page starting at `posSec` and repaints; called after
    // every trace drawing, so page changes, page length, size and label column all follow.
    void follow(int32_t posSec);
    const std::vector<RulerTick>& ticks() const { return ticks_; }
    // The events of the page, drawn as coloured marks along the top of the strip.
    void setMarks(std::vector<RulerMark> marks);
    const std::vector<RulerMark>& marks() const { return marks_; }
    int step() const { return step_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int labelPixels() const;

    CViewerCtrl& trace_;
    int32_t posSec_ = 0;
    int step_ = 1;
    std::vector<RulerTick> ticks_;
    std::vector<RulerMark> marks_;
};
