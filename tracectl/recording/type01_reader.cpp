// Generations 0 and 1: one fixed 6144-byte header, no areas. The electrode table is built
// here from the label tables, and old channel codes are translated into electrode codes.

#include "header_readers.h"
#include "legacy_tables.h"
#include "little_endian.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace viewer {

namespace {

constexpr size_t kOldHeaderSize = 6144;
constexpr int kOldNotes = 80;
constexpr int kOldSegments = 15;

template <size_t N> std::array<char, N> dots() {
    std::array<char, N> a{};
    std::memcpy(a.data(), ".....", 5);
    return a;
}

bool validMonth(uint8_t m) { return m >= 1 && m <= 12; }

void fillHeader(TrcHeader& h, const uint8_t* b) {
    h.rate = readU16(b + 8);
    h.checkWord = readU16(b + 160);
    h.headerType = b[175];
    h.fileType = readU16(b + 176);
    h.dataStart = readU16(b + 182);
    h.numChannels = readU16(b + 184);
    h.multiplexer = h.numChannels;
    h.bytesPerSample = 1;
    h.numMontages = 0;
    h.videoStart = -1;
    h.recMonth = b[186];
    h.recDay = b[187];
    h.recYear = b[188];
    h.recHour = b[189];
    h.recMinute = b[190];
    h.recSecond = b[191];
    std::memcpy(h.surname.data(), b + 192, h.surname.size());
    std::memcpy(h.name.data(), b + 214, h.name.size());
    h.birthMonth = b[234];
    h.birthDay = b[235];
    h.birthYear = b[236];
}

// The label table of the file's generation: built in for type 0, stored for type 1.
std::vector<legacy::LabelEntry> labelTable(const uint8_t* b, uint8_t headerType) {
    if (headerType == 0) {
        const auto& builtIn = legacy::builtInLabelTable();
        return {builtIn.begin(), builtIn.end()};
    }
    std::vector<legacy::LabelEntry> table(126);
    for (size_t k = 0; k < table.size(); ++k) {
        const uint8_t* e = b + 5056 + 8 * k;
        std::memcpy(table[k].label.data(), e, 6);
        table[k].range = readU16(e + 6);
    }
    return table;
}

void buildElectrodes(Recording& rec, const std::vector<legacy::LabelEntry>& table, uint16_t g) {
    static constexpr std::array<char, 6> kG2 = {'G', '2', ' ', ' ', ' ', '\0'};
    // A divisor of 0 or above 800 leaves no steps per range: those inputs read as flat.
    const int d = (g == 0 || g > 800) ? 0 : (800 / g) * 2;
    for (int code = 0; code < kElectrodeCount; ++code) {
        ElectrodeRecord& e = rec.electrodes[code];
        e = ElectrodeRecord{};
        const bool eegRange = code <= 63;
        e.electrodeType = (code >= 160) ? 1 : 0;
        const int index = legacy::labelIndex(code, rec.header.headerType);
        if (index < 0 || static_cast<size_t>(index) >= table.size()) {
            e.positiveLabel = dots<6>();
            e.negativeLabel = dots<6>();
            continue;
        }
        const legacy::LabelEntry& entry = table[index];
        e.positiveLabel = entry.label;
        if (eegRange) {
            e.negativeLabel = kG2;
        } else {
            const size_t next = static_cast<size_t>(index) + 1;
            e.negativeLabel = next < table.size() ? table[next].label : dots<6>();
        }
        e.logicMin = 0;
        e.logicMax = 255;
        e.logicGround = 128;
        const int range = entry.range & 0x3FFF;
        e.physicalMax = d ? range / d : 0;
        e.physicalMin = d ? -range / d : 0;
        e.unit = static_cast<int16_t>(entry.range / 16384);
    }
}

} // namespace

int32_t frameOfSecond(int64_t seconds, uint16_t rate) {
    const int64_t frame = seconds * rate;
    return static_cast<int32_t>(std::clamp<int64_t>(frame, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

bool readType01(Recording& rec, uint8_t headerType) {
    std::vector<uint8_t> b(kOldHeaderSize, 0);
    if (rec.file.readAt(0, b.data(), b.size()) != b.size()) {
        return false;
    }
    TrcHeader& h = rec.header;
    fillHeader(h, b.data());
    h.headerType = headerType;
    if (h.numChannels > 128 || !validMonth(h.birthMonth) || !validMonth(h.recMonth)) {
        return false;
    }
    for (int i = 0; i < h.numChannels; ++i) {
        rec.orderTable[i] = legacy::translateOldCode(readU16(b.data() + 14 + 2 * i), headerType);
    }
    buildElectrodes(rec, labelTable(b.data(), headerType), readU16(b.data() + 12));
    for (int i = 0; i < h.numChannels; ++i) {
        rec.electrodes[rec.orderTable[i]].status = 1;
    }

    for (NoteRecord& n : rec.notes) {
        n.text.fill(' ');
    }
    for (int i = 0; i < kOldNotes; ++i) {
        const uint8_t* old = b.data() + 480 + 24 * i;
        rec.notes[i].sample = frameOfSecond(readI32(old), h.rate);
        std::memcpy(rec.notes[i].text.data(), old + 4, 20);
    }
    // The generation holds 80 notes; the count is this recording's, not one left over.
    rec.noteCount = kOldNotes;
    for (int i = 0; i < kOldSegments; ++i) {
        rec.segments[i] = decodeSegment(b.data() + 360 + 8 * i);
    }
    return true;
}

} // namespace viewer
