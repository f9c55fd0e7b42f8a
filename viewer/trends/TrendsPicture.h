#pragma once
// The trend panel's picture, drawn from the trends and a view of them: the spectral array of
// the four regions as colour images, the aEEG band of each hemisphere on the semi-logarithmic
// scale, the asymmetry and the suppression as curves, the time axis, the page as a cursor
// and the notes and events as marks. Shared by the panel and `trends --png`.

#include "trend_data.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

struct TrendsView {
    double from = 0.0;  // seconds from the start shown at the left edge
    double to = 0.0;    // and at the right edge
    double lowDb = 0.0; // colour range of the spectral array
    double highDb = 30.0;
    double cursor = -1.0;       // the page's start, seconds; negative: none
    double cursorLength = 0.0;  // the page's length, seconds
    int startClock = 0;         // seconds of the day at the recording's start
    std::vector<double> notes;  // the recording's notes, seconds
    std::vector<double> events; // the reviewer's events, seconds
};

// Where the rows of the picture lie inside a rectangle.
struct TrendsLayout {
    QRect plot;                   // the area of the curves and images (time runs across it)
    QRect regions[4];             // spectral arrays, top to bottom as regionNames()
    QRect aeeg[2];                // left, right hemisphere
    QRect asymmetry, suppression; // curves
    QRect axis;                   // the time axis under the plot

    explicit TrendsLayout(const QRect& area, int textHeight);
    // Seconds at x (clamped to the plot), for a view.
    double secondsAt(int x, const TrendsView& v) const;
    int xAt(double seconds, const TrendsView& v) const;
};

// The colour of `db` within [low, high] on the spectral array's map (dark blue through cyan,
// green and yellow to red).
QColor densityColour(double db, double low, double high);

// Height of the aEEG scale at `uv`: linear from 0 to 10 µV over the lower half, logarithmic
// from 10 to 100 µV over the upper half, as a fraction 0..1 of the row.
double aeegFraction(double uv);

// The face and size of the picture's texts.
QFont trendsFont();

// Draws the picture of `data` under `view` into `area`, all but the page's cursor.
void drawTrends(QPainter& p, const QRect& area, const viewer::trends::TrendData& data,
                const TrendsView& view);
// Draws the page's cursor of `view` over a picture drawn into `area`.
void drawTrendsCursor(QPainter& p, const QRect& area, const TrendsView& view);

// The text shown for the mouse at `seconds`: the clock time and the values there; with a
// `region` and `bin` (the spectral array under the mouse) that region's density there too.
QString trendsValuesAt(const viewer::trends::TrendData& data, const TrendsView& view,
                       double seconds, int region = -1, int bin = -1);
