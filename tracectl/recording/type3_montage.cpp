#include "type3_montage.h"

#include "little_endian.h"
#include "montages.h"
#include "page_length.h"

#include <algorithm>

namespace viewer {

void convertType3Montage(Recording& rec, const uint8_t* b) {
    MontageRecord m;
    m.numLines = std::min<uint16_t>(readU16(b), kMaxLines);
    m.notch = b[6];
    std::copy_n(b + 136, kMaxLines, m.selected.begin());
    std::copy_n(reinterpret_cast<const char*>(b + 264), m.description.size(),
                m.description.begin());
    for (int i = 0; i < kMaxLines; ++i) {
        m.inputA[i] = b[328 + 2 * i];
        m.inputB[i] = b[329 + 2 * i];
        m.highPass[i] = readU32(b + 584 + 4 * i);
        m.lowPass[i] = readU32(b + 1096 + 4 * i);
        m.gain[i] = readI32(b + 1608 + 4 * i);
        m.colourIndex[i] = paletteIndex(b[8 + i]);
    }
    m.refMode = b[2120];
    m.pageMs = static_cast<int32_t>(readU16(b + 4)) * 1000;
    if (static_cast<uint32_t>(m.pageMs) > static_cast<uint32_t>(rec.maxPageMs)) {
        m.pageMs = rec.maxPageMs;
    }
    m.converted = 1;
    m.baseTime = 10;
    rec.currentMontage = m;
    applyPageMs(rec, m.pageMs);
}

} // namespace viewer
