#pragma once
// The static layer: background, line labels, grids, warning markers and "Not Present"
// texts; everything of a page that does not depend on its samples.

#include "recording.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace viewer {

struct LabelFont {
    QString name;
    int32_t size = 10; // points
    bool bold = false;
    bool italic = false;
};

// The display settings the static layer is drawn from.
struct StaticLayerSettings {
    QRgb background = qRgb(255, 255, 255);
    QRgb gridColour = qRgb(0, 0, 0);
    int16_t gridType = 0; // bit 0 baselines, bit 1 time grid
    bool traceOverLabel = true;
    LabelFont font;
    double scale = 1.0; // layer pixels per logical pixel (the device pixel ratio)
};

struct StaticLayerGeometry {
    int32_t labelWidth = 0;
    std::vector<int32_t> rowCentre; // vertical centre of each line's row
};

// Vertical centre of each of `lines` rows over `height` pixels.
std::vector<int32_t> rowCentres(int height, int lines);

// The label font at the layer's vertical resolution: `size` points as character height,
// times `scale` layer pixels per logical pixel.
QFont labelFont(const LabelFont& wanted, const QImage& layer, double scale = 1.0);

// `n` logical pixels in layer pixels at `scale` (at least 1 when `n` is).
int scaled(int n, double scale);

// Draws the static layer of `rec`'s current montage into `layer`, whose size is the client
// area (in layer pixels: the client size times settings.scale). `kinds` holds each line's
// derivation kind (10 = an input not acquired). Writes the reference name into electrode 0's label
// first. Draws nothing without a file or lines.
StaticLayerGeometry drawStaticLayer(QImage& layer, Recording& rec,
                                    const std::vector<uint8_t>& kinds,
                                    const StaticLayerSettings& settings, const QImage& marker);

} // namespace viewer
