// Generations 2 and 3: the header and area table of the newest generation, with one-byte
// channel codes, older 128-byte electrode records, and (type 2) notes in seconds.

#include "header_readers.h"
#include "little_endian.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace viewer {

namespace {

constexpr int kOldElectrodes = 255; // codes 0..254
constexpr int kSecondsNotes = 100;  // type-2 notes converted from seconds

bool validMonth(uint8_t m) { return m >= 1 && m <= 12; }

// Reads an area into a cleared scratch of fixed size; true when every byte of the area
// that fits the scratch arrived.
bool readScratch(const Recording& rec, Area a, std::vector<uint8_t>& scratch) {
    std::fill(scratch.begin(), scratch.end(), 0);
    const size_t wanted = std::min<size_t>(rec.header.area(a).length, scratch.size());
    return readArea(rec, a, scratch.data(), scratch.size()) == wanted;
}

ElectrodeRecord decodeOldElectrode(const uint8_t* b, int code) {
    ElectrodeRecord e;
    std::memcpy(e.positiveLabel.data(), b + 2, 6);
    std::memcpy(e.negativeLabel.data(), b + 8, 6);
    e.logicMin = readU16(b + 14);
    e.logicMax = readU16(b + 16);
    e.logicGround = readU16(b + 18);
    e.physicalMin = readI32(b + 20);
    e.physicalMax = readI32(b + 24);
    e.unit = readI16(b + 28);
    e.avgExcluded = b[63];
    e.electrodeType = code >= 160 ? 1 : 0;
    return e;
}

} // namespace

bool readType23(Recording& rec, uint8_t headerType) {
    std::array<uint8_t, kHeaderSize> raw{};
    if (rec.file.readAt(0, raw.data(), raw.size()) != raw.size()) {
        return false;
    }
    rec.header = decodeHeader(raw.data());
    TrcHeader& h = rec.header;

    std::vector<uint8_t> order(rec.orderTable.size());
    const bool orderRead = readScratch(rec, Area::Order, order);
    std::vector<uint8_t> labcod(kOldElectrodes * kElectrodeRecordSize);
    const bool labcodRead = readScratch(rec, Area::Labcod, labcod);
    if (!orderRead || (headerType == 3 && !labcodRead)) {
        return false;
    }
    if (h.numChannels > 128 || !validMonth(h.birthMonth) || !validMonth(h.recMonth)) {
        return false;
    }
    for (int i = 0; i < h.numChannels; ++i) {
        rec.orderTable[i] = order[i];
    }
    for (int code = 0; code < kElectrodeCount; ++code) {
        ElectrodeRecord& e = rec.electrodes[code];
        if (code < kOldElectrodes) {
            e = decodeOldElectrode(labcod.data() + code * kElectrodeRecordSize, code);
        } else {
            e = ElectrodeRecord{};
            e.electrodeType = 1;
            std::memcpy(e.positiveLabel.data(), ".....", 5);
            std::memcpy(e.negativeLabel.data(), ".....", 5);
        }
    }
    for (int i = 0; i < h.numChannels; ++i) {
        rec.electrodes[rec.orderTable[i]].status = 1;
    }

    std::vector<uint8_t> notes(kNoteRecordSize * kNoteCapacity, 0);
    readArea(rec, Area::Note, notes.data(), notes.size());
    for (int i = 0; i < kNoteCapacity; ++i) {
        rec.notes[i] = decodeNote(notes.data() + i * kNoteRecordSize);
    }
    rec.noteCount = static_cast<int32_t>(
        std::min<uint32_t>(h.area(Area::Note).length / kNoteRecordSize, kNoteCapacity));
    if (headerType == 2) {
        for (int i = 0; i < kSecondsNotes; ++i) {
            rec.notes[i].sample = frameOfSecond(rec.notes[i].sample, h.rate);
        }
    }

    std::vector<uint8_t> segments(kSegmentRecordSize * kSegmentCapacity, 0);
    readArea(rec, Area::Tronca, segments.data(), segments.size());
    for (int i = 0; i < kSegmentCapacity; ++i) {
        rec.segments[i] = decodeSegment(segments.data() + i * kSegmentRecordSize);
    }

    if (headerType == 3) {
        const AreaDescriptor& history = h.area(Area::History);
        std::array<uint8_t, kHistoryTableSize> points{};
        points.fill(0xFF);
        rec.file.readAt(history.offset, points.data(), points.size());
        for (int i = 0; i < kHistoryPoints; ++i) {
            rec.historySamples[i] = readI32(points.data() + 4 * i);
        }
        rec.historyPresent = std::memcmp(history.name.data(), "HISTORY ", 8) == 0;
    }
    return true;
}

} // namespace viewer
