#include "recording.h"

#include "edf_header.h"
#include "edf_reader.h"
#include "header_readers.h"

#include <cmath>
#include <filesystem>

namespace viewer {

void Recording::clearTables() {
    header = TrcHeader{};
    orderTable.fill(0);
    electrodes.fill(ElectrodeRecord{});
    notes.fill(NoteRecord{});
    segments.fill(SegmentRecord{});
    historySamples.fill(-1);
    videos.fill(VideoRecord{});
}

uint16_t patientCheckSum(const TrcHeader& h) {
    unsigned sum = 0;
    for (int i = 0; i < 3; ++i) {
        sum += static_cast<uint8_t>(h.surname[i]) + static_cast<uint8_t>(h.name[i]);
    }
    sum += h.birthMonth + h.birthDay + h.birthYear;
    return static_cast<uint16_t>(sum);
}

int32_t maxPageMsFor(uint16_t numChannels, uint16_t rate) {
    const double seconds = static_cast<double>(kPageBufferBytes) / numChannels / rate / 4;
    // Only the low 16 bits of the whole seconds are kept, as the stored page lengths expect.
    const auto whole = static_cast<int64_t>(std::trunc(seconds));
    return 1000 * static_cast<int16_t>(static_cast<uint16_t>(whole & 0xFFFF));
}

namespace {

// The frame layout must be one the page reader can walk: every divisor nonzero and
// every frame exactly numChannels samples of a supported width.
bool usableLayout(const TrcHeader& h) {
    if (h.rate == 0 || h.numChannels == 0 || h.multiplexer == 0 || h.numChannels > 256) {
        return false;
    }
    if (h.bytesPerSample == 0 || h.bytesPerSample == 3) {
        return false;
    }
    return h.multiplexer == h.numChannels * h.bytesPerSample;
}

bool readAndValidate(Recording& rec, const std::string& path) {
    if (!rec.file.open(path)) {
        return false;
    }
    uint8_t headerType = 0xFF;
    if (rec.file.readAt(kHeaderTypeOffset, &headerType, 1) != 1 || headerType > 4) {
        return false;
    }
    rec.clearTables();
    bool read = false;
    if (headerType == 4) {
        read = readType4(rec);
    } else {
        rec.historyPresent = false;
        read = readLegacy(rec, headerType);
    }
    const TrcHeader& h = rec.header;
    if (h.bytesPerSample > 4 || !read || !usableLayout(h)) {
        return false;
    }
    return (h.checkWord & 0x7FFF) == patientCheckSum(h);
}

// Reads the EDF or BDF file open in `rec.file`; false, with the file closed, when it cannot
// be shown.
bool openEdf(Recording& rec, const std::string& path, NotesReading notes) {
    rec.clearTables();
    if (readEdf(rec, path, notes).empty()) {
        return true;
    }
    rec.edf.reset();
    rec.file.close();
    rec.fileInvalid = true;
    return false;
}

bool isEdfFile(Recording& rec, const std::string& path) {
    return rec.file.open(path) && hasEdfSignature(rec.file);
}

} // namespace

bool openRecording(Recording& rec, const std::string& path, NotesReading notes) {
    rec.fileInvalid = false;
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec)) {
        return false;
    }
    rec.file.close();
    rec.edf.reset();
    if (isEdfFile(rec, path)) {
        return openEdf(rec, path, notes);
    }
    if (!readAndValidate(rec, path)) {
        rec.file.close();
        rec.fileInvalid = true;
        return false;
    }
    rec.fileLength = rec.file.size();
    const int64_t dataBytes = rec.fileLength - static_cast<int64_t>(rec.header.dataStart);
    // A data start beyond the end of the file leaves a recording with no frames.
    rec.totalSamples = dataBytes > 0 ? dataBytes / rec.header.multiplexer : 0;
    return true;
}

} // namespace viewer
