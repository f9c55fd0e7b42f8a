#pragma once
// The 48 pen colours of the lines: eight hue families of six shades, light to dark.

#include "recording.h"

#include <QRgb>

#include <array>

namespace viewer {

using TraceColours = std::array<QRgb, 48>;

TraceColours makeTraceColours();

// An OLE colour 0x00BBGGRR as a Qt colour.
inline QRgb fromOleColour(uint32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// The pen colour of line `line`: an own montage line's colour, else the palette colour of
// its colourIndex (black for an index past the palette).
QRgb lineColour(const TraceColours& colours, const Recording& rec, int line);

} // namespace viewer
