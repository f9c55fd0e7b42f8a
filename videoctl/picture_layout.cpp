#include "picture_layout.h"

#include <cmath>

void PictureLayout::letterbox() { *this = PictureLayout(); }

void PictureLayout::crop(int32_t realWidth, int32_t realHeight, int videoWidth, int videoHeight) {
    if (realWidth <= 0 || realHeight <= 0) {
        letterbox();
        return;
    }
    const float w = videoWidth > 0 && videoHeight > 0 ? static_cast<float>(videoWidth) : 360.0f;
    const float h = videoWidth > 0 && videoHeight > 0 ? static_cast<float>(videoHeight) : 280.0f;
    const float rw = static_cast<float>(realWidth);
    const float rh = static_cast<float>(realHeight);
    const float a = rw / w;
    const float b = rh / h;
    if (a == b) {
        letterbox();
        return;
    }
    *this = PictureLayout();
    letterboxed_ = false;
    if (a < b) {
        const float k = (w * rh / h - rw) * 0.5f / rw;
        left_ = -k;
        right_ = 1 + k;
    } else {
        const float k = (h * rw / w - rh) * 0.5f / rh;
        top_ = -k;
        bottom_ = 1 + k;
    }
}

QRectF PictureLayout::target(const QSizeF& size, double aspect) const {
    const QRectF area(left_ * size.width(), top_ * size.height(), (right_ - left_) * size.width(),
                      (bottom_ - top_) * size.height());
    // A picture of unknown proportions (no aspect, or none that is finite) fills the area.
    if (!letterboxed_ || !(aspect > 0 && std::isfinite(aspect)) || area.isEmpty()) {
        return area;
    }
    if (area.width() > area.height() * aspect) {
        const double width = area.height() * aspect;
        return QRectF(area.left() + (area.width() - width) / 2, area.top(), width, area.height());
    }
    const double height = area.width() / aspect;
    return QRectF(area.left(), area.top() + (area.height() - height) / 2, area.width(), height);
}
