#include "ScrollBarGeometry.h"

#include "scroll_value.h"

#include <algorithm>
#include <cmath>

using scrollbar::roundHalfEven;

void ScrollBarGeometry::resize(double width, double height) {
    height_ = std::max(height, 0.0);
    // A control narrower than its two square buttons leaves an empty track, not a negative one.
    trackWidth_ = std::max(width - 2 * height_, 0.0);
}

void ScrollBarGeometry::placeThumb(int32_t max, double largeChange, double value) {
    if (!hasRoom()) {
        thumbLeft_ = 0;
        thumbWidth_ = trackWidth_;
        return;
    }
    const double room = trackWidth_ - kDeadZone;
    double width = roundHalfEven(room * largeChange / max + kDeadZone);
    if (trackWidth_ < width) {
        width = roundHalfEven(trackWidth_);
    }
    // A negative range would give a negative width.
    thumbWidth_ = std::max(width, 0.0);
    thumbLeft_ = room * value / max;
}

int32_t ScrollBarGeometry::grabOffset(double x) const {
    return static_cast<int32_t>(std::clamp(roundHalfEven(x - thumbLeft_), 0.0, thumbWidth_));
}

void ScrollBarGeometry::dragThumb(double x, int32_t grab) {
    double left = roundHalfEven(x - grab);
    if (left + thumbWidth_ > trackWidth_) {
        left = roundHalfEven(trackWidth_ - thumbWidth_);
    }
    if (left < 0) {
        left = 0;
    }
    thumbLeft_ = left;
}

double ScrollBarGeometry::thumbPosition(int32_t max) const {
    return thumbLeft_ * max / (trackWidth_ - kDeadZone);
}
