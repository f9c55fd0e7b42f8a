#pragma once
// Where the picture goes inside the control: letterboxed (its proportions kept, black
// bars beside or above and below) or stretched to an output rectangle given in fractions of
// the control, which reaches outside the control when a crop cuts part of the picture away.

#include <QRectF>
#include <QSizeF>

#include <cstdint>

class PictureLayout {
public:
    // The whole picture, letterboxed in the whole control.
    void letterbox();
    // Makes a picture of videoWidth x videoHeight (360 x 280 when unknown) fill an area
    // of realWidth x realHeight, cutting equal parts off the sides that overflow. An area of
    // the picture's own proportions, or one without a positive size, letterboxes.
    void crop(int32_t realWidth, int32_t realHeight, int videoWidth, int videoHeight);

    bool letterboxed() const { return letterboxed_; }
    // Left, top, right and bottom as fractions of the control.
    double left() const { return left_; }
    double top() const { return top_; }
    double right() const { return right_; }
    double bottom() const { return bottom_; }

    // The rectangle the picture is drawn into, in a control of `size`, for a picture whose
    // width is `aspect` times its height (filling it when `aspect` is not positive and finite).
    QRectF target(const QSizeF& size, double aspect) const;

private:
    bool letterboxed_ = true;
    double left_ = 0;
    double top_ = 0;
    double right_ = 1;
    double bottom_ = 1;
};
