#pragma once
// One-pixel polylines written straight into an RGB32 layer. A page holds up to a million
// points; drawing them through QPainter costs several times more than the rest of a page.

#include <QImage>
#include <QPoint>

#include <span>

namespace viewer {

// Draws the segments between consecutive `points` into `layer` (Format_RGB32 or ARGB32) in
// `colour`, one pixel wide, end points included, each pixel the one nearest the exact line
// (halves rounded up). Whatever lies outside the layer is clipped; a single point draws
// nothing.
void drawPolylineRgb32(QImage& layer, std::span<const QPoint> points, QRgb colour);

} // namespace viewer
