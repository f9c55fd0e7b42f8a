#include "page_loading.h"

#include "edf_pages.h"
#include "little_endian.h"
#include "page_length.h"
#include "references.h"

#include <algorithm>

namespace viewer {

namespace {

// Writes `samples` samples of `width` bytes, each `value` cut to that width.
void fillSamples(uint8_t* raw, int64_t samples, int width, int32_t value) {
    uint8_t bytes[4];
    writeI32(bytes, value);
    for (int64_t i = 0; i < samples; ++i) {
        std::copy_n(bytes, width, raw + i * width);
    }
}

// Widens `samples` samples of `width` bytes, stored from the start of the buffer, to 32
// bits in place. Going from the last sample down, no sample is overwritten before it is
// read.
void widen(int32_t* values, int64_t samples, int width) {
    const auto* raw = reinterpret_cast<const uint8_t*>(values);
    switch (width) {
    case 1:
        for (int64_t i = samples - 1; i >= 0; --i) {
            values[i] = raw[i];
        }
        break;
    case 2:
        for (int64_t i = samples - 1; i >= 0; --i) {
            values[i] = readU16(raw + 2 * i);
        }
        break;
    default:
        for (int64_t i = 0; i < samples; ++i) {
            values[i] = readI32(raw + 4 * i);
        }
        break;
    }
}

} // namespace

bool LoadPage(Recording& rec, uint32_t first, uint32_t count) {
    if (rec.edf) {
        return loadEdfPage(rec, first, count);
    }
    const TrcHeader& h = rec.header;
    if (!rec.isOpen() || rec.pageBuffer.empty() || h.numChannels == 0) {
        return false;
    }
    count = std::min(count, framesThatFit(rec));
    const int64_t offset = static_cast<int64_t>(first) * h.multiplexer + h.dataStart;
    const int64_t bytes = static_cast<int64_t>(h.multiplexer) * count;
    const int64_t overrun = offset + bytes - rec.fileLength;
    if (offset >= rec.fileLength) {
        return false;
    }
    auto* raw = reinterpret_cast<uint8_t*>(rec.pageBuffer.data());
    const int64_t samples = static_cast<int64_t>(h.numChannels) * count;
    // A page that ends exactly at the end of the data is whole.
    const bool whole = overrun <= 0;
    if (whole) {
        rec.file.readAt(offset, raw, static_cast<size_t>(bytes));
    } else {
        fillSamples(raw, samples, h.bytesPerSample, rec.electrodes[0].logicGround);
        rec.file.readAt(offset, raw, static_cast<size_t>(bytes - overrun));
    }
    widen(rec.pageBuffer.data(), samples, h.bytesPerSample);
    applyReference(rec, count);
    return whole;
}

} // namespace viewer
