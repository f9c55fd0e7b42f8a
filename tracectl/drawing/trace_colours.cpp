#include "trace_colours.h"

namespace viewer {

TraceColours makeTraceColours() {
    static constexpr uint32_t kRgb[48] = {
        0xFFFFFF, 0xE0E0E0, 0xC0C0C0, 0x808080, 0x404040, 0x000000, // greys
        0xFFC0C0, 0xFF8080, 0xFF0000, 0xC00000, 0x800000, 0x400000, // reds
        0xFFC0C0, 0xFFC080, 0xFF8000, 0xC04000, 0x804000, 0x804040, // oranges, browns
        0xFFFFC0, 0xFFFF80, 0xFFFF00, 0xC0C000, 0x808000, 0x404000, // yellows
        0xC0FFC0, 0x80FF80, 0x00FF00, 0x00C000, 0x008000, 0x004000, // greens
        0xC0FFFF, 0x80FFFF, 0x00FFFF, 0x00C0C0, 0x008080, 0x004040, // cyans
        0xC0C0FF, 0x8080FF, 0x0000FF, 0x0000C0, 0x000080, 0x000040, // blues
        0xFFC0FF, 0xFF80FF, 0xFF00FF, 0xC000C0, 0x800080, 0x400040, // magentas
    };
    TraceColours colours{};
    for (size_t i = 0; i < colours.size(); ++i) {
        colours[i] = qRgb((kRgb[i] >> 16) & 0xFF, (kRgb[i] >> 8) & 0xFF, kRgb[i] & 0xFF);
    }
    return colours;
}

QRgb lineColour(const TraceColours& colours, const Recording& rec, int line) {
    if (rec.own.inForce && line >= 0 && static_cast<size_t>(line) < rec.own.lines.size()) {
        const std::optional<uint32_t>& rgb = rec.own.lines[static_cast<size_t>(line)].rgb;
        if (rgb) {
            return qRgb((*rgb >> 16) & 0xFF, (*rgb >> 8) & 0xFF, *rgb & 0xFF);
        }
    }
    const uint8_t index = rec.currentMontage.colourIndex[static_cast<size_t>(line)];
    return colours[index < colours.size() ? index : 5];
}

} // namespace viewer
