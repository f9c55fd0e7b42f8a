#pragma once
// The page layer: the traces of every line of the page, and the numbers of value lines,
// drawn over a copy of the static layer.

#include "recording.h"
#include "trace_colours.h"
#include "trace_model.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace viewer {

// What the traces are drawn from besides the recording and its line values.
struct PageLayerSettings {
    int32_t labelWidth = 0;
    std::vector<int32_t> rowCentre; // from the static layer, one per line
    double pixelsPerCm = 54.0;      // see pixelsPerCm()
    QString fontName;               // face of the value-line numbers
};

// Draws over `layer` (which holds the static layer) the line values of `model` as one
// polyline per line, at most four points per pixel column, in each line's colour, and the
// numbers of value lines every 2 seconds. Lines without input or not acquired draw nothing.
void drawPageLayer(QImage& layer, const TraceModel& model, const TraceColours& colours,
                   const PageLayerSettings& settings);

} // namespace viewer
