#include "header_readers.h"
#include "little_endian.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace viewer {

size_t readArea(const Recording& rec, Area a, uint8_t* dst, size_t capacity) {
    const AreaDescriptor& d = rec.header.area(a);
    const size_t wanted = std::min<size_t>(d.length, capacity);
    return rec.file.readAt(d.offset, dst, wanted);
}

namespace {

bool named(const AreaDescriptor& d, const char (&name)[9]) {
    return std::memcmp(d.name.data(), name, 8) == 0;
}

// Reads an area of fixed-size records into a zeroed scratch of the table's capacity and
// decodes every record of the table from it, so that records the area does not hold come
// out empty. Returns the area's length in bytes as the header states it.
template <typename Record, size_t N, typename Decode>
uint32_t readTable(const Recording& rec, Area a, size_t recordSize, size_t count,
                   std::array<Record, N>& table, Decode decode) {
    std::vector<uint8_t> scratch(recordSize * count, 0);
    readArea(rec, a, scratch.data(), scratch.size());
    for (size_t i = 0; i < count; ++i) {
        table[i] = decode(scratch.data() + i * recordSize);
    }
    return rec.header.area(a).length;
}

} // namespace

bool readType4(Recording& rec) {
    std::array<uint8_t, kHeaderSize> raw{};
    if (rec.file.readAt(0, raw.data(), raw.size()) != raw.size()) {
        return false;
    }
    rec.header = decodeHeader(raw.data());

    std::array<uint8_t, 512> order{};
    readArea(rec, Area::Order, order.data(), order.size());
    for (size_t i = 0; i < rec.orderTable.size(); ++i) {
        rec.orderTable[i] = readU16(order.data() + 2 * i);
    }

    readTable(rec, Area::Labcod, kElectrodeRecordSize, kElectrodeCount, rec.electrodes,
              decodeElectrode);
    const uint32_t noteBytes =
        readTable(rec, Area::Note, kNoteRecordSize, kNoteCapacity, rec.notes, decodeNote);
    rec.noteCount =
        static_cast<int32_t>(std::min<uint32_t>(noteBytes / kNoteRecordSize, kNoteCapacity));
    readTable(rec, Area::Tronca, kSegmentRecordSize, kSegmentCapacity, rec.segments, decodeSegment);

    // The change points are read wherever the descriptor points, whatever its name.
    const AreaDescriptor& history = rec.header.area(Area::History);
    std::array<uint8_t, kHistoryTableSize> points{};
    std::fill(points.begin(), points.end(), 0xFF);
    rec.file.readAt(history.offset, points.data(), points.size());
    for (int i = 0; i < kHistoryPoints; ++i) {
        rec.historySamples[i] = readI32(points.data() + 4 * i);
    }
    rec.historyPresent = named(history, "HISTORY ");

    const AreaDescriptor& video = rec.header.area(Area::Dvideo);
    if (named(video, "DVIDEO  ")) {
        // Records the file does not hold stay all 0xFF: no more video files.
        std::vector<uint8_t> index(kVideoRecordSize * kVideoCapacity, 0xFF);
        rec.file.readAt(video.offset, index.data(), index.size());
        for (int i = 0; i < kVideoCapacity; ++i) {
            rec.videos[i] = decodeVideo(index.data() + i * kVideoRecordSize);
        }
    }
    return true;
}

} // namespace viewer
