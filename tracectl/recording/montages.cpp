#include "montages.h"

#include "page_length.h"
#include "type3_montage.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace viewer {

namespace {

constexpr uint8_t kFallbackPaletteIndex = 5;
constexpr int kPaletteSize = 48;

// Reads the montage record at `offsetInArea` of area `a` into currentMontage, only when it
// lies whole inside the area and the file.
bool loadMontageRecord(Recording& rec, Area a, int64_t offsetInArea) {
    const int64_t size = montageRecordSize(rec.header.headerType);
    const AreaDescriptor& area = rec.header.area(a);
    if (!rec.isOpen() || offsetInArea < 0 || offsetInArea + size > area.length) {
        return false;
    }
    std::array<uint8_t, kMontageRecordSize> raw{};
    const auto bytes = static_cast<size_t>(size);
    if (size == 0 || rec.file.readAt(area.offset + offsetInArea, raw.data(), bytes) != bytes) {
        return false;
    }
    if (rec.header.headerType == 3) {
        convertType3Montage(rec, raw.data());
        return true;
    }
    rec.currentMontage = decodeMontage(raw.data());
    ConvertMontage(rec);
    return true;
}

} // namespace

uint8_t paletteIndex(uint8_t colourCode) {
    static constexpr std::array<uint8_t, 16> kMap = {4, 40, 28, 34, 10, 46, 22, 2,
                                                     3, 38, 26, 32, 8,  44, 20, 0};
    return colourCode < kMap.size() ? kMap[colourCode] : kFallbackPaletteIndex;
}

int64_t montageRecordSize(uint8_t headerType) {
    switch (headerType) {
    case 3:
        return 3072;
    case 4:
        return static_cast<int64_t>(kMontageRecordSize);
    default:
        return 0;
    }
}

int usableArchivedMontages(const Recording& rec) {
    const int64_t size = montageRecordSize(rec.header.headerType);
    if (size == 0) {
        return 0;
    }
    const int64_t inArea = rec.header.area(Area::Montage).length / size;
    return static_cast<int>(std::min<int64_t>(rec.header.numMontages, inArea));
}

void ConvertMontage(Recording& rec) {
    MontageRecord& m = rec.currentMontage;
    m.numLines = std::min<uint16_t>(m.numLines, kMaxLines);
    if (m.converted == 0) {
        m.pageMs = static_cast<int32_t>(m.baseTime) * 1000;
        for (int i = 0; i < m.numLines; ++i) {
            m.colourIndex[i] = paletteIndex(m.colourCode[i]);
        }
        m.converted = 1;
    }
    for (uint8_t& index : m.colourIndex) {
        if (index >= kPaletteSize) {
            index = kFallbackPaletteIndex;
        }
    }
    if (m.pageMs < 0) {
        m.pageMs = 10000;
    }
    if (static_cast<uint32_t>(m.pageMs) > static_cast<uint32_t>(rec.maxPageMs)) {
        m.pageMs = rec.maxPageMs;
    }
    applyPageMs(rec, m.pageMs);
}

bool LoadHistoryMontage(Recording& rec) {
    const int64_t size = montageRecordSize(rec.header.headerType);
    return loadMontageRecord(rec, Area::History,
                             static_cast<int64_t>(kHistoryTableSize) + rec.historyIndex * size);
}

bool LoadArchivedMontage(Recording& rec, int k) {
    if (k < 0 || k >= usableArchivedMontages(rec)) {
        return false;
    }
    return loadMontageRecord(rec, Area::Montage, k * montageRecordSize(rec.header.headerType));
}

void loadAllElectrodesMontage(Recording& rec) {
    MontageRecord& m = rec.currentMontage;
    m.numLines = std::min<uint16_t>(rec.header.numChannels, kMaxLines);
    applyPageSeconds(rec, 10.0f);
    m.notch = 0;
    m.description.fill('\0');
    static constexpr char kName[] = "All recorded electrodes";
    std::memcpy(m.description.data(), kName, sizeof kName - 1);
    m.refMode = 0;
    for (int i = 0; i < m.numLines; ++i) {
        m.colourIndex[i] = kFallbackPaletteIndex;
        m.selected[i] = 0;
        m.inputA[i] = 0;
        m.inputB[i] = rec.orderTable[i];
        m.highPass[i] = 0;
        m.lowPass[i] = 100000;
        m.gain[i] = 200;
    }
}

int historyMontageFor(const Recording& rec, uint32_t pageStart) {
    const auto& points = rec.historySamples;
    int i = 0;
    while (static_cast<uint32_t>(points[i + 1]) < pageStart && points[i] != -1 &&
           i < kHistoryMontagesUsed) {
        ++i;
    }
    if (points[i] == -1) {
        --i;
    }
    return i;
}

} // namespace viewer
