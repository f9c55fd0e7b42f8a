#include "edf_reader.h"

#include "edf_annotations.h"
#include "edf_header.h"
#include "edf_signal_kinds.h"
#include "electrode_names.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace viewer {

namespace {

// Electrode codes with a meaning of their own, never given to an EDF signal: the reference,
// the ear electrodes (kept for A2 and A1), value lines and lines never filtered.
constexpr uint16_t kRightEar = 22;
constexpr uint16_t kLeftEar = 23;
bool reservedCode(uint16_t code) {
    return code == 0 || code == kRightEar || code == kLeftEar || code == 173 || code == 174 ||
           code == 175 || code == 203 || code == 219;
}

// Records whose annotations are read at opening when the rest is read later: enough for the
// first pages' notes and clock.
constexpr int64_t kFirstRecords = 256;

template <size_t N> void copyText(std::array<char, N>& field, std::string_view text) {
    field.fill(' ');
    std::memcpy(field.data(), text.data(), std::min(text.size(), N));
}

uint8_t sinceNineteenHundred(int year) {
    return year >= 1900 && year <= 2155 ? static_cast<uint8_t>(year - 1900) : 0;
}

void fillHeader(Recording& rec, const EdfHeader& e) {
    TrcHeader& h = rec.header;
    const size_t comma = e.patient.find(',');
    std::string surname = e.patient.substr(0, comma);
    std::string name = comma == std::string::npos ? std::string{} : e.patient.substr(comma + 1);
    name.erase(0, name.find_first_not_of(' '));
    copyText(h.surname, surname);
    copyText(h.name, name);
    if (e.birthYear >= 1900 && e.birthYear <= 2155) {
        h.birthDay = static_cast<uint8_t>(e.birthDay);
        h.birthMonth = static_cast<uint8_t>(e.birthMonth);
        h.birthYear = sinceNineteenHundred(e.birthYear);
    }
    h.recDay = static_cast<uint8_t>(e.startDay);
    h.recMonth = static_cast<uint8_t>(e.startMonth);
    h.recYear = sinceNineteenHundred(e.startYear);
    h.recHour = static_cast<uint8_t>(e.startHour);
    h.recMinute = static_cast<uint8_t>(e.startMinute);
    h.recSecond = static_cast<uint8_t>(e.startSecond);
    const EdfLayout& l = e.layout;
    h.headerType = 4;
    h.dataStart = static_cast<uint32_t>(std::min<int64_t>(l.headerBytes, UINT32_MAX));
    h.numChannels = static_cast<uint16_t>(l.drawnSignals.size());
    h.bytesPerSample = l.bdf ? 4 : 2; // as the page buffer holds them: 16 or more bits
    h.multiplexer = static_cast<uint16_t>(h.numChannels * h.bytesPerSample);
    h.rate = static_cast<uint16_t>(std::lround(l.framesPerSecond()));
    h.videoStart = -1;
    h.checkWord = patientCheckSum(h) & 0x7FFF;
}

void fillElectrodes(Recording& rec, const EdfLayout& l) {
    uint16_t next = 1;
    int firstEeg = -1;
    for (size_t c = 0; c < l.drawnSignals.size(); ++c) {
        const ElectrodeRecord e = electrodeFor(l.drawnSignals[c]);
        const std::string key =
            e.polygraphic() ? std::string{} : electrodeKey(l.drawnSignals[c].label);
        uint16_t code = 0;
        if (key == "A1" && rec.electrodes[kLeftEar].status == 0) {
            code = kLeftEar;
        } else if (key == "A2" && rec.electrodes[kRightEar].status == 0) {
            code = kRightEar;
        } else {
            while (reservedCode(next)) {
                ++next;
            }
            code = next++;
        }
        rec.orderTable[c] = code;
        rec.electrodes[code] = e;
        if (firstEeg < 0 && !e.polygraphic()) {
            firstEeg = code;
        }
    }
    // The zero level the references and the frames past the end read as: the first EEG
    // electrode's.
    rec.electrodes[0].logicGround =
        rec.electrodes[firstEeg < 0 ? rec.orderTable[0] : firstEeg].logicGround;
}

} // namespace

std::string readEdf(Recording& rec, const std::string& path, NotesReading notes) {
    EdfHeader header;
    std::string refusal = readEdfHeader(path, rec.file, header);
    if (!refusal.empty()) {
        return refusal;
    }
    fillHeader(rec, header);
    fillElectrodes(rec, header.layout);
    rec.historyPresent = false;
    rec.noteCount = 0;
    rec.edf.emplace();
    rec.edf->path = path;
    rec.edf->layout = std::move(header.layout);
    const EdfLayout& l = rec.edf->layout;
    rec.fileLength = rec.file.size();
    rec.totalSamples = l.records * l.framesPerRecord;
    readMoreEdfNotes(rec, notes == NotesReading::Whole ? -1 : kFirstRecords);
    return {};
}

bool readMoreEdfNotes(Recording& rec, int64_t records) {
    if (!rec.edf || rec.edf->notesComplete()) {
        return true;
    }
    EdfSource& source = *rec.edf;
    const int64_t from = source.recordsScanned;
    const int64_t to = records < 0 ? source.layout.records : from + records;
    mergeEdfScan(source, scanEdfRecords(rec.file, source.layout, from, to));
    return source.notesComplete();
}

std::string edfRefusalReason(const std::string& path) {
    Recording rec;
    if (!rec.file.open(path)) {
        return "it cannot be opened";
    }
    EdfHeader header;
    return readEdfHeader(path, rec.file, header);
}

} // namespace viewer
