#include "edf_pages.h"

#include "page_length.h"
#include "references.h"

#include <algorithm>

namespace viewer {

namespace {

// Bytes of data records read at once at most (one record at least).
constexpr int64_t kReadBytes = int64_t{8} << 20;

int32_t sampleAt(const uint8_t* p, int64_t k, bool bdf) {
    if (bdf) {
        const uint8_t* s = p + 3 * k;
        const auto u = static_cast<uint32_t>(s[0]) | static_cast<uint32_t>(s[1]) << 8 |
                       static_cast<uint32_t>(s[2]) << 16;
        return static_cast<int32_t>(u << 8) >> 8;
    }
    const uint8_t* s = p + 2 * k;
    return static_cast<int16_t>(static_cast<uint16_t>(s[0] | s[1] << 8));
}

// Puts the samples of `records` data records from record `r0`, held in `bytes`, on the
// frames [from, to) of the page that starts at frame `first`.
void placeRecords(Recording& rec, const uint8_t* bytes, int64_t r0, int64_t records, int64_t first,
                  int64_t from, int64_t to) {
    const EdfLayout& l = rec.edf->layout;
    const int64_t fpr = l.framesPerRecord;
    const int channels = rec.header.numChannels;
    for (int64_t r = r0; r < r0 + records; ++r) {
        const uint8_t* record = bytes + (r - r0) * l.recordBytes;
        const int64_t f0 = std::max(from, r * fpr);
        const int64_t f1 = std::min(to, (r + 1) * fpr);
        for (int c = 0; c < channels; ++c) {
            const EdfSignal& s = l.drawnSignals[static_cast<size_t>(c)];
            const uint8_t* samples = record + s.offsetInRecord;
            int32_t* out = rec.pageBuffer.data() + (f0 - first) * channels + c;
            for (int64_t f = f0; f < f1; ++f, out += channels) {
                const int64_t j = f - r * fpr;
                *out = sampleAt(
                    samples, s.samplesPerRecord == fpr ? j : j * s.samplesPerRecord / fpr, l.bdf);
            }
        }
    }
}

} // namespace

bool loadEdfPage(Recording& rec, uint32_t first, uint32_t count) {
    if (!rec.isOpen() || !rec.edf || rec.pageBuffer.empty() || rec.header.numChannels == 0) {
        return false;
    }
    count = std::min(count, framesThatFit(rec));
    const EdfLayout& l = rec.edf->layout;
    if (first >= rec.totalSamples) {
        return false;
    }
    const int64_t end = std::min<int64_t>(int64_t{first} + count, rec.totalSamples);
    const int channels = rec.header.numChannels;
    for (int64_t f = end; f < int64_t{first} + count; ++f) {
        for (int c = 0; c < channels; ++c) {
            rec.pageBuffer[static_cast<size_t>((f - first) * channels + c)] =
                rec.electrodes[rec.orderTable[static_cast<size_t>(c)]].logicGround;
        }
    }
    const int64_t fpr = l.framesPerRecord;
    const int64_t perRead = std::max<int64_t>(1, kReadBytes / l.recordBytes);
    std::vector<uint8_t>& scratch = rec.edf->scratch;
    for (int64_t r = first / fpr; r * fpr < end; r += perRead) {
        const int64_t records = std::min(perRead, (end - 1) / fpr + 1 - r);
        scratch.resize(static_cast<size_t>(records * l.recordBytes));
        const size_t got =
            rec.file.readAt(l.headerBytes + r * l.recordBytes, scratch.data(), scratch.size());
        std::fill(scratch.begin() + static_cast<std::ptrdiff_t>(got), scratch.end(), uint8_t{0});
        placeRecords(rec, scratch.data(), r, records, first, first, end);
    }
    applyReference(rec, count);
    return int64_t{first} + count <= rec.totalSamples;
}

} // namespace viewer
