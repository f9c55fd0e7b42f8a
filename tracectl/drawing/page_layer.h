#pragma once
// The page layer: the traces of every line of the page, and the numbers of value lines,
// drawn over a copy of the static layer.

#include "layer_refresh.h"
#include "recording.h"
#include "trace_colours.h"
#include "trace_model.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace viewer {

// What the traces are drawn from besides the recording and its line values.
struct PageLayerSettings {
    int32_t labelWidth = 0;
    std::vector<int32_t> rowCentre; // from the static layer, one per line
    double pixelsPerCm = 54.0;      // see pixelsPerCm()
    QString fontName;               // face of the value-line numbers
    double scale = 1.0;             // layer pixels per logical pixel (the device pixel ratio)
    // The static layer the page layer starts from, of the layer's size and format; null when
    // the layer holds it already. `refresh`, kept from one drawing of the layer to the next,
    // lets a drawing copy back only what the last one changed.
    const QImage* background = nullptr;
    LayerRefresh* refresh = nullptr;
};

// Computes the line values of `model`'s loaded page, one line at a time, and draws each
// over `layer` (which holds the static layer, or gets it back from `settings.background`
// row band by row band as the drawing goes down) as one polyline, at most four points per
// pixel column, in the line's colour, with the numbers of value lines every 2 seconds
// (at most one per pixel column). Lines without input or not acquired draw nothing. With
// no layer or no row the values are computed all the same.
void drawPageLayer(QImage& layer, TraceModel& model, const TraceColours& colours,
                   const PageLayerSettings& settings);

// One line of a page as it is to be drawn: its pen, its row, the numbers of a value line
// (x and number), and for a line with a trace its values (the model's own, valid until the
// model computes its values again) and pixels per sample step.
struct PlannedLine {
    QRgb colour = 0;
    int32_t row = 0;
    bool numbered = false;
    std::vector<std::pair<int, uint16_t>> numbers;
    bool trace = false;
    std::span<const float> values;
    double k = 0.0;
};

// A page's traces ready to be drawn later, as drawPageLayer would have drawn them when they
// were planned.
struct PageRaster {
    std::vector<PlannedLine> lines;
    int32_t labelWidth = 0;
    int32_t traceWidth = 0;
    uint32_t samplesPerPage = 0;
};

// The page layer of the values `model` has just computed (every line's values kept), for a
// layer `layerWidth` wide: taken from the recording as it is now, so that later changes to
// it do not change what is drawn.
PageRaster planPageLayer(const TraceModel& model, const TraceColours& colours,
                         const PageLayerSettings& settings, int layerWidth);

// Draws `raster` over `layer` as drawPageLayer draws (the static layer brought back from
// `settings.background` through `settings.refresh`), without computing anything.
void drawPlannedPageLayer(QImage& layer, const PageRaster& raster,
                          const PageLayerSettings& settings);

} // namespace viewer
