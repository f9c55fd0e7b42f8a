#pragma once
// The trend panel (View > Trends): a dock above or below the traces showing the trends of
// the whole recording or a zoom of it (24 h, 4 h, 1 h, 15 min) with the page as a cursor;
// a click or a drag moves the page there, hovering shows the time and the values. Its
// settings (segment length, colour range, zoom) are kept in the settings group "Trends".

#include "TrendsPicture.h"

#include <QDockWidget>
#include <QImage>

#include <functional>

class QComboBox;
class QLabel;
class QSpinBox;
class TrendsCanvas;

class TrendsPanel : public QDockWidget {
public:
    // `jump(seconds)` moves the page to start at `seconds`; `segmentChanged` runs when the
    // reviewer chose another segment length.
    TrendsPanel(std::function<void(double)> jump, std::function<void()> segmentChanged,
                QWidget* parent);

    // Shows `data` (kept by the caller, alive while shown) with `status` above it.
    void show(const viewer::trends::TrendData* data, const QString& status);
    // The data changed (more segments computed): drawn again, at most twice a second.
    void dataChanged(const QString& status);
    // The page starts at `seconds` and lasts `length` seconds.
    void follow(double seconds, double length);
    // The recording's notes and the reviewer's events, seconds from the start; the clock of
    // the recording's start in seconds of the day.
    void setMarks(std::vector<double> notes, std::vector<double> events, int startClock);

    double segmentSeconds() const;
    TrendsCanvas* canvas() const { return canvas_; }
    QComboBox* zoom() const { return zoom_; }
    QLabel* values() const { return values_; }

private:
    void viewChanged();
    void saveSettings() const;

    TrendsCanvas* canvas_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* values_ = nullptr;
    QComboBox* zoom_ = nullptr;
    QSpinBox* segment_ = nullptr;
    QSpinBox* lowDb_ = nullptr;
    QSpinBox* highDb_ = nullptr;
    int segmentInForce_ = 0;
    bool redrawPending_ = false;
};

// The drawing of the trends under a view, with the mouse's clicks, drags and hovering.
class TrendsCanvas : public QWidget {
public:
    TrendsCanvas(std::function<void(double)> jump, std::function<void(const QString&)> hover,
                 QWidget* parent);

    void setData(const viewer::trends::TrendData* data);
    // Draws the picture again (data or view changed).
    void redraw();
    TrendsView& view() { return view_; }
    // The zoom's length in seconds; 0 for the whole recording.
    void setSpan(double seconds);
    // Moves the cursor; the shown stretch follows when the cursor leaves its middle part.
    void follow(double seconds, double length);
    // Seconds at x in the canvas.
    double secondsAt(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    double total() const;
    void place(bool recentre);
    QString valuesAt(const QPoint& at) const;

    std::function<void(double)> jump_;
    std::function<void(const QString&)> hover_;
    const viewer::trends::TrendData* data_ = nullptr;
    TrendsView view_;
    double span_ = 0.0;
    QImage picture_;
};
