#pragma once
// One-pixel polylines written straight into an RGB32 layer. A page holds up to a million
// points; drawing them through QPainter costs several times more than the rest of a page.

#include "layer_refresh.h"
#include "trace_geometry.h"

#include <QImage>
#include <QPoint>

#include <cstdint>
#include <span>

namespace viewer {

// Draws the segments between consecutive `points` into `layer` (Format_RGB32 or ARGB32) in
// `colour`, one pixel wide, end points included, each pixel the one nearest the exact line
// (halves rounded up). Whatever lies outside the layer is clipped; a single point draws
// nothing.
void drawPolylineRgb32(QImage& layer, std::span<const QPoint> points, QRgb colour);

// One trace drawn into an RGB32 (or ARGB32) layer straight from its samples' y and the
// page's sample columns, in one pass and without a point list: the same pixels as reducing
// the samples to four points per pixel column (ColumnReducer) and drawing that polyline
// with drawPolylineRgb32. A column holding several samples is the run between its lowest
// and highest y; the step from a column's last sample to the next column's first, when that
// column is the neighbouring one, is one run in each of the two columns, split at the step's
// middle; other steps are drawn as lines. The last column, left open as the reducer leaves
// it, shows only its first sample. Every pixel written is marked in `marks` when given; a
// layer that is null or not 32 bits deep gets nothing. `ys` holds a y for every sample the
// columns cover.
void drawTraceRgb32(QImage& layer, std::span<const int32_t> ys, const SampleColumns& columns,
                    QRgb colour, LayerRefresh* marks = nullptr);

} // namespace viewer
