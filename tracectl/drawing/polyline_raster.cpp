#include "polyline_raster.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace viewer {

namespace {

struct Raster {
    uchar* bits;
    qsizetype stride; // bytes per line
    int width;
    int height;
    QRgb colour;
    LayerRefresh* marks; // told of every pixel written, when given

    void put(int x, int y) const {
        reinterpret_cast<QRgb*>(bits + y * stride)[x] = colour;
        if (marks != nullptr) {
            marks->mark(x, y, y);
        }
    }
};

void vertical(const Raster& r, int x, int y0, int y1) {
    if (x < 0 || x >= r.width) {
        return;
    }
    const int from = std::max(std::min(y0, y1), 0);
    const int to = std::min(std::max(y0, y1), r.height - 1);
    uchar* pixel = r.bits + from * r.stride + x * qsizetype{sizeof(QRgb)};
    if (r.marks == nullptr) {
        for (int y = from; y <= to; ++y, pixel += r.stride) {
            *reinterpret_cast<QRgb*>(pixel) = r.colour;
        }
        return;
    }
    LayerRefresh::Marker marker = r.marks->marker(x, from);
    for (int y = from; y <= to; ++y, pixel += r.stride, marker.next()) {
        *reinterpret_cast<QRgb*>(pixel) = r.colour;
        marker.mark();
    }
}

// Steps along the longer axis; the other coordinate at step t is the nearest to the exact
// line, round(t * minor / major), kept exactly with integer arithmetic. Only the steps whose
// major coordinate falls inside the layer are walked.
void sloped(const Raster& r, int x0, int y0, int x1, int y1) {
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    const int m0 = steep ? y0 : x0;
    const int m1 = steep ? y1 : x1;
    const int n0 = steep ? x0 : y0;
    const int n1 = steep ? x1 : y1;
    const int minorLimit = steep ? r.width : r.height;
    if ((n0 < 0 && n1 < 0) || (n0 >= minorLimit && n1 >= minorLimit)) {
        return;
    }
    const int majorStep = m1 > m0 ? 1 : -1;
    const int minorStep = n1 > n0 ? 1 : -1;
    const int64_t major = std::abs(int64_t{m1} - m0);
    const int64_t minor = std::abs(int64_t{n1} - n0);
    const int majorLimit = steep ? r.height : r.width;

    // Steps t = first .. last keep the major coordinate inside 0 .. majorLimit - 1.
    const int64_t toLow = majorStep > 0 ? -m0 : m0 - (majorLimit - 1);
    const int64_t toHigh = majorStep > 0 ? (majorLimit - 1) - m0 : m0;
    const int64_t first = std::max<int64_t>(0, toLow);
    const int64_t last = std::min<int64_t>(major, toHigh);
    if (first > last) {
        return;
    }
    // numerator = 2 t minor + major; offset = numerator / (2 major), kept as quotient and rest.
    const int64_t twiceMajor = 2 * major;
    const int64_t numerator = 2 * first * minor + major;
    int64_t offset = numerator / twiceMajor;
    int64_t rest = numerator % twiceMajor;
    int m = m0 + static_cast<int>(first) * majorStep;
    for (int64_t t = first; t <= last; ++t, m += majorStep) {
        const int64_t n = n0 + offset * minorStep;
        if (n >= 0 && n < minorLimit) {
            steep ? r.put(static_cast<int>(n), m) : r.put(m, static_cast<int>(n));
        }
        rest += 2 * minor;
        if (rest >= twiceMajor) {
            rest -= twiceMajor;
            ++offset;
        }
    }
}

// Coordinates up to 2^30 keep every product of the line stepping inside 64 bits; the page
// never comes near them.
bool withinReach(const QPoint& p) {
    constexpr int kReach = 1 << 30;
    return std::abs(p.x()) <= kReach && std::abs(p.y()) <= kReach;
}

void segment(const Raster& r, const QPoint& a, const QPoint& b) {
    if (!withinReach(a) || !withinReach(b)) {
        return;
    }
    if (a.x() == b.x()) {
        vertical(r, a.x(), a.y(), b.y());
    } else {
        sloped(r, a.x(), a.y(), b.x(), b.y());
    }
}

} // namespace

void drawPolylineRgb32(QImage& layer, std::span<const QPoint> points, QRgb colour) {
    if (points.size() < 2 || layer.isNull() || layer.depth() != 32) {
        return;
    }
    const Raster r{layer.bits(), layer.bytesPerLine(), layer.width(), layer.height(), colour,
                   nullptr};
    for (size_t i = 1; i < points.size(); ++i) {
        segment(r, points[i - 1], points[i]);
    }
}

namespace {

// The column being gathered and the drawing of the columns it closes. The part of a step
// that falls into the next column is kept and drawn with that column as one run (it ends at
// the column's first sample, which lies within the column's own run).
class ColumnSteps {
public:
    explicit ColumnSteps(const Raster& r) : r_(r) {}

    // Closes the open column, if any, drawing it and the step from its last sample to
    // (x, y), the first sample of the next one.
    void next(int x, int y) {
        if (samples_ > 0) {
            close(x, y);
        }
    }
    // Opens column x: its samples' lowest, highest and last y and how many they are.
    void open(int x, int low, int high, int last, uint32_t samples) {
        x_ = x;
        min_ = low;
        max_ = high;
        last_ = last;
        samples_ = samples;
    }
    // Draws what is kept of the last step (the last column is left open).
    void finish() { run(x_, headLow_, headHigh_); }

private:
    void close(int x, int y) {
        const QPoint to(x, y);
        const bool columnReached = withinReach(QPoint(x_, min_)) && withinReach(QPoint(x_, max_));
        if (std::abs(int64_t{x} - x_) == 1 && columnReached && withinReach(to)) {
            // The line's steps t = 0 .. |y - last| go to this column while t < |y - last| / 2
            // (at least the step at its own end), to the next one from there on.
            const int rise = std::abs(y - last_);
            const int sign = y >= last_ ? 1 : -1;
            const int half = (rise + 1) / 2;
            const int ownEnd = last_ + sign * (std::max(half, 1) - 1);
            run(x_, std::min(min_, ownEnd), std::max(max_, ownEnd));
            const int nextStart = last_ + sign * half;
            headLow_ = std::min(nextStart, y);
            headHigh_ = std::max(nextStart, y);
            return;
        }
        if (samples_ > 1 && columnReached) {
            run(x_, min_, max_);
        } else {
            run(x_, headLow_, headHigh_);
        }
        segment(r_, QPoint(x_, last_), to);
    }

    // Rows low .. high of column x, with the part of the step into it; nothing is kept after.
    void run(int x, int low, int high) {
        if (headLow_ <= headHigh_) {
            low = std::min(low, headLow_);
            high = std::max(high, headHigh_);
        }
        if (low <= high) {
            vertical(r_, x, low, high);
        }
        headLow_ = 1;
        headHigh_ = 0;
    }

    const Raster& r_;
    int x_ = 0; // the open column and its samples' lowest, highest and last y
    int min_ = 0;
    int max_ = 0;
    int last_ = 0;
    uint32_t samples_ = 0;
    int headLow_ = 1; // the part of the last step in the open column; none while low > high
    int headHigh_ = 0;
};

} // namespace

void drawTraceRgb32(QImage& layer, std::span<const int32_t> ys, const SampleColumns& columns,
                    QRgb colour, LayerRefresh* marks) {
    if (layer.isNull() || layer.depth() != 32 || columns.runs() == 0 ||
        ys.size() < columns.start.back()) {
        return;
    }
    const Raster r{layer.bits(), layer.bytesPerLine(), layer.width(), layer.height(), colour,
                   marks};
    ColumnSteps steps(r);
    // Every run holds `shortest` samples, or one more when the longest is one more: those
    // are gathered without a branch (the last sample counted twice when the run is short).
    const uint32_t fixed = columns.shortest;
    const bool even = columns.longest <= fixed + 1;
    const int32_t* y = ys.data();
    for (size_t c = 0; c < columns.runs(); ++c) {
        const uint32_t from = columns.start[c];
        const uint32_t to = columns.start[c + 1];
        int low = y[from];
        int high = y[from];
        for (uint32_t i = from + 1; i < (even ? from + fixed : to); ++i) {
            low = std::min(low, y[i]);
            high = std::max(high, y[i]);
        }
        const int last = y[to - 1];
        low = std::min(low, last);
        high = std::max(high, last);
        steps.next(columns.x[c], y[from]);
        steps.open(columns.x[c], low, high, last, to - from);
    }
    steps.finish();
}

} // namespace viewer
