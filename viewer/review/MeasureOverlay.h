#pragma once
// The measurement overlay: a transparent widget over the trace control that reads the time,
// the line and its microvolts under the mouse, draws a ruler while the right button (or
// Shift and the left button) is dragged and turns the wheel into pages. The control itself
// handles no mouse input; the overlay repaints only itself.

#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>

#include "KeyboardMap.h"

class CViewerCtrl;
class QLabel;

struct PointReading {
    bool valid = false;
    double elapsed = 0;    // seconds from the start of the file
    double clock = 0;      // seconds of the day
    int line = -1;         // montage line whose row holds the point
    QString label;         // that line's label
    double microvolts = 0; // its value at that instant, as drawn
    int32_t sample = -1;   // page sample drawn at the point's column
};

// What lies under `at` (control pixels) on the page starting at `posSec`: the line whose row
// holds the point, or line `line` when it is given (both ends of a measurement read one line).
PointReading readAt(CViewerCtrl& trace, int32_t posSec, QPoint at, int line = -1);

// "10:23:45.250   +754.250 s   Fp1 F3   -23.4 µV"
QString readoutText(const PointReading& r);
// "Δt 250 ms (4.00 Hz)   ΔA 52.1 µV on Fp1 F3"; empty unless both ends read the same line.
QString measureText(const PointReading& from, const PointReading& to);

class MeasureOverlay : public QWidget {
public:
    // `posSec()` gives the page start; `run` carries out a wheel command; readouts go to
    // `status`.
    MeasureOverlay(CViewerCtrl& trace, std::function<int32_t()> posSec,
                   std::function<void(ReviewCommand)> run, QLabel& status);

    const QString& lastText() const { return text_; }
    // Takes the ruler away (a new page).
    void clearRuler();
    // The page samples from the measurement's start to its end (in time order), while a
    // measurement of some length is shown; none otherwise.
    std::optional<std::pair<int32_t, int32_t>> measuredSamples() const;
    // Runs `changed` when a measurement ends (the button released) or is taken away.
    void onMeasured(std::function<void()> changed) { measured_ = std::move(changed); }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showText(const QString& text);
    QRect rulerRect() const;

    CViewerCtrl& trace_;
    std::function<int32_t()> posSec_;
    std::function<void(ReviewCommand)> run_;
    QLabel& status_;
    WheelNotches wheel_;
    bool dragging_ = false;
    QPoint from_;
    QPoint to_;
    QString text_;
    std::function<void()> measured_;
};
