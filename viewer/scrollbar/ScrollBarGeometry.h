#pragma once
// The scroll bar's layout in twips, in the control's own coordinates: two square end buttons,
// the track between them and the thumb inside the track. The thumb is at least kDeadZone wide,
// and positions map onto the first (track width - kDeadZone) twips of the track, so a track no
// wider than kDeadZone has no room for positions at all.

#include <cstdint>

class ScrollBarGeometry {
public:
    static constexpr double kDeadZone = 90.0;

    // Lays out buttons and track for a control of this size; the thumb is left where it was.
    void resize(double width, double height);

    double height() const { return height_; }
    double buttonWidth() const { return height_; }
    double trackLeft() const { return height_; }
    double trackWidth() const { return trackWidth_; }
    double rightButtonLeft() const { return trackLeft() + trackWidth_; }

    double thumbLeft() const { return thumbLeft_; }
    double thumbWidth() const { return thumbWidth_; }
    double thumbRight() const { return thumbLeft_ + thumbWidth_; }

    // True when the track is wider than the dead zone, i.e. positions can be mapped onto it.
    bool hasRoom() const { return trackWidth_ > kDeadZone; }

    // Sizes and places the thumb for a range 0..max (max not 0) with a page of largeChange
    // (positive) at value. Without room the thumb covers the whole track.
    void placeThumb(int32_t max, double largeChange, double value);

    // Whether track position x falls on the thumb, both edges included.
    bool onThumb(double x) const { return x >= thumbLeft_ && x <= thumbRight(); }

    // Twips from the thumb's left edge to x, rounded; for x on the thumb.
    int32_t grabOffset(double x) const;

    // Moves the thumb so that the grab point follows x, keeping it inside the track.
    void dragThumb(double x, int32_t grab);

    // The position the thumb's left edge stands for in a range 0..max. Only with room.
    double thumbPosition(int32_t max) const;

private:
    double height_ = 0;
    double trackWidth_ = 0;
    double thumbLeft_ = 0;
    double thumbWidth_ = 0;
};
