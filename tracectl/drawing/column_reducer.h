#pragma once
// Reduces the samples of one trace to at most four points per pixel column: the first
// sample of a column, its lowest and highest y and its last sample.

#include <QPoint>

#include <algorithm>

#include <vector>

namespace viewer {

class ColumnReducer {
public:
    // Room for four points for each of `capacity` columns (or samples); the list grows
    // beyond it when needed.
    explicit ColumnReducer(size_t capacity) { points_.reserve(capacity * 4); }

    void add(int x, int y) {
        if (!started_) {
            points_.emplace_back(x, y);
            started_ = true;
            minY_ = maxY_ = y;
        } else if (x == prevX_) {
            minY_ = std::min(minY_, y);
            maxY_ = std::max(maxY_, y);
            ++samplesInColumn_;
            prevY_ = y;
            return;
        } else {
            if (samplesInColumn_ > 1) {
                points_.emplace_back(prevX_, minY_);
                points_.emplace_back(prevX_, maxY_);
                points_.emplace_back(prevX_, prevY_);
            }
            points_.emplace_back(x, y);
            minY_ = maxY_ = y;
        }
        samplesInColumn_ = 1;
        prevX_ = x;
        prevY_ = y;
    }

    // The points so far; the last column is left open.
    const std::vector<QPoint>& points() const { return points_; }

private:
    std::vector<QPoint> points_;
    bool started_ = false;
    int prevX_ = 0;
    int prevY_ = 0;
    int minY_ = 0;
    int maxY_ = 0;
    int samplesInColumn_ = 0;
};

} // namespace viewer
