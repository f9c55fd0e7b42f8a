#pragma once
// The 48 pen colours of the lines: eight hue families of six shades, light to dark.

#include <QRgb>

#include <array>

namespace viewer {

using TraceColours = std::array<QRgb, 48>;

TraceColours makeTraceColours();

// An OLE colour 0x00BBGGRR as a Qt colour.
inline QRgb fromOleColour(uint32_t c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

} // namespace viewer
