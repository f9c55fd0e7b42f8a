#include "recording_writer.h"

#include "legacy_writer.h"

#include "little_endian.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace viewer::testing {

namespace detail {

Bytes segmentsArea(const RecordingDescription& d) {
    Bytes segments(kSegmentRecordSize * kSegmentCapacity, 0);
    for (size_t i = 0; i < d.segments.size() && i < kSegmentCapacity; ++i) {
        writeI32(segments.data() + 8 * i, d.segments[i].origSample);
        writeU32(segments.data() + 8 * i + 4, d.segments[i].fileSample);
    }
    return segments;
}

void addMontageAreas(std::map<Area, Bytes>& areas, const RecordingDescription& d,
                     MontageEncoder encode, size_t recordSize) {
    Bytes montages(recordSize * kArchivedMontageSlots, 0);
    for (size_t i = 0; i < d.montages.size() && i < kArchivedMontageSlots; ++i) {
        const Bytes rec = encode(d.montages[i]);
        std::copy(rec.begin(), rec.end(), montages.begin() + i * recordSize);
    }
    areas[Area::Montage] = montages;
    if (d.history || !d.historySamples.empty() || !d.historyMontages.empty()) {
        Bytes history(kHistoryTableSize, 0xFF);
        for (size_t i = 0; i < d.historySamples.size() && i < kHistoryPoints; ++i) {
            writeI32(history.data() + 4 * i, d.historySamples[i]);
        }
        for (const MontageRecord& m : d.historyMontages) {
            const Bytes rec = encode(m);
            history.insert(history.end(), rec.begin(), rec.end());
        }
        areas[Area::History] = history;
    }
}

} // namespace detail

namespace {

using detail::Bytes;
using detail::putChars;
using detail::addMontageAreas;
using detail::segmentsArea;

template <size_t N> void putArray(uint8_t* dst, const std::array<char, N>& a) {
    std::memcpy(dst, a.data(), N);
}

const char* const kAreaNames[kAreaCount] = {
    "ORDER   ", "LABCOD  ", "NOTE    ", "FLAGS   ", "TRONCA  ", "IMPED_B ", "IMPED_E ", "MONTAGE ",
    "COMPR   ", "AVERAGE ", "HISTORY ", "DVIDEO  ", "        ", "        ", "TRIGGER "};

uint16_t channelCount(const RecordingDescription& d) {
    return d.numChannels.value_or(static_cast<uint16_t>(d.order.size()));
}

// The content of each area as the description gives it; empty for an absent area.
std::map<Area, Bytes> areaContents(const RecordingDescription& d) {
    std::map<Area, Bytes> areas;
    Bytes order(512, 0);
    for (size_t i = 0; i < d.order.size() && i < 256; ++i) {
        writeU16(order.data() + 2 * i, d.order[i]);
    }
    areas[Area::Order] = order;

    Bytes labcod(kElectrodeRecordSize * kElectrodeCount, 0);
    for (const auto& [code, e] : d.electrodes) {
        const Bytes rec = encodeElectrode(e);
        std::copy(rec.begin(), rec.end(), labcod.begin() + code * kElectrodeRecordSize);
    }
    areas[Area::Labcod] = labcod;

    Bytes notes(kNoteRecordSize * kNoteCapacity, 0);
    for (size_t i = 0; i < d.notes.size() && i < kNoteCapacity; ++i) {
        writeI32(notes.data() + i * kNoteRecordSize, d.notes[i].sample);
        putArray(notes.data() + i * kNoteRecordSize + 4, d.notes[i].text);
    }
    areas[Area::Note] = notes;

    areas[Area::Tronca] = segmentsArea(d);
    areas[Area::ImpedB] = Bytes(2 * d.order.size(), 0);
    areas[Area::ImpedE] = Bytes(2 * d.order.size(), 0);

    addMontageAreas(areas, d, encodeMontage, kMontageRecordSize);

    if (d.videoIndex) {
        Bytes videos(kVideoRecordSize * kVideoCapacity, 0xFF);
        for (size_t i = 0; i < d.videos.size() && i < kVideoCapacity; ++i) {
            uint8_t* p = videos.data() + i * kVideoRecordSize;
            writeI32(p, d.videos[i].startMs);
            writeI32(p + 4, d.videos[i].lengthMs);
            writeI32(p + 8, d.videos[i].fileNumber);
        }
        areas[Area::Dvideo] = videos;
    }

    for (const auto& [area, raw] : d.rawAreas) {
        areas[area] = raw;
    }
    return areas;
}

Bytes headerType4(const RecordingDescription& d, const std::map<Area, Bytes>& areas,
                  uint32_t& dataStart) {
    Bytes h(kHeaderSize, 0);
    putChars(h.data(), "Viewer test recording", 32, ' ');
    putChars(h.data() + 32, "Test laboratory", 32, ' ');
    putChars(h.data() + 64, d.surname, 22, ' ');
    putChars(h.data() + 86, d.name, 20, ' ');
    h[106] = d.birthMonth;
    h[107] = d.birthDay;
    h[108] = d.birthYear;
    h[128] = d.recDay;
    h[129] = d.recMonth;
    h[130] = d.recYear;
    h[131] = d.recHour;
    h[132] = d.recMinute;
    h[133] = d.recSecond;
    writeU16(h.data() + 136, d.fileType);
    const uint16_t channels = channelCount(d);
    writeU16(h.data() + 142, channels);
    writeU16(h.data() + 144,
             d.multiplexer.value_or(static_cast<uint16_t>(channels * d.bytesPerSample)));
    writeU16(h.data() + 146, d.rate);
    writeU16(h.data() + 148, d.bytesPerSample);
    writeU16(h.data() + 152, d.numMontages.value_or(static_cast<uint16_t>(d.montages.size())));
    writeI32(h.data() + 154, d.videoStart);
    writeU16(h.data() + 158, d.videoDelay);
    const uint16_t sum = d.patientSum() | (d.videoFlag ? 0x8000 : 0);
    writeU16(h.data() + 160, d.checkWord.value_or(sum));
    h[kHeaderTypeOffset] = d.headerType;

    uint32_t offset = kHeaderSize;
    for (int i = 0; i < kAreaCount; ++i) {
        const auto area = static_cast<Area>(i);
        uint8_t* desc = h.data() + kAreaTableOffset + 16 * i;
        auto content = areas.find(area);
        // An absent area keeps a blank name; the history and video areas carry their
        // names only when the description asks for them.
        const bool present = content != areas.end() && (area != Area::History || d.history) &&
                             (area != Area::Dvideo || d.videoIndex);
        auto named = d.areaNames.find(area);
        if (named != d.areaNames.end()) {
            putArray(desc, named->second);
        } else {
            std::memcpy(desc, present ? kAreaNames[i] : "        ", 8);
        }
        if (content == areas.end()) {
            continue;
        }
        writeU32(desc + 8, offset);
        writeU32(desc + 12, static_cast<uint32_t>(content->second.size()));
        offset += static_cast<uint32_t>(content->second.size());
    }
    dataStart = d.dataStart.value_or(offset);
    writeU32(h.data() + 138, dataStart);
    return h;
}

void writeSamples(std::ofstream& out, const RecordingDescription& d, int width) {
    const int channels = static_cast<int>(d.order.size());
    constexpr int64_t kChunk = 4096;
    Bytes chunk;
    for (int64_t first = 0; first < d.frames; first += kChunk) {
        const int64_t count = std::min(kChunk, d.frames - first);
        chunk.assign(static_cast<size_t>(count * channels * width), 0);
        if (d.sample) {
            uint8_t* p = chunk.data();
            for (int64_t f = first; f < first + count; ++f) {
                for (int c = 0; c < channels; ++c) {
                    const auto v = static_cast<uint32_t>(d.sample(f, c));
                    for (int b = 0; b < width; ++b) {
                        *p++ = b < 4 ? static_cast<uint8_t>(v >> (8 * b)) : uint8_t{0};
                    }
                }
            }
        }
        out.write(reinterpret_cast<const char*>(chunk.data()),
                  static_cast<std::streamsize>(chunk.size()));
    }
}

} // namespace

uint16_t RecordingDescription::patientSum() const {
    uint8_t h[45];
    putChars(h, surname, 22, ' ');
    putChars(h + 22, name, 20, ' ');
    unsigned sum = 0;
    for (int i = 0; i < 3; ++i) {
        sum += h[i] + h[22 + i];
    }
    return static_cast<uint16_t>((sum + birthMonth + birthDay + birthYear) & 0x7FFF);
}

std::vector<uint8_t> encodeElectrode(const ElectrodeRecord& e) {
    Bytes b(kElectrodeRecordSize, 0);
    b[0] = e.status;
    b[1] = e.electrodeType;
    putArray(b.data() + 2, e.positiveLabel);
    putArray(b.data() + 8, e.negativeLabel);
    writeI32(b.data() + 14, e.logicMin);
    writeI32(b.data() + 18, e.logicMax);
    writeI32(b.data() + 22, e.logicGround);
    writeI32(b.data() + 26, e.physicalMin);
    writeI32(b.data() + 30, e.physicalMax);
    writeI16(b.data() + 34, e.unit);
    b[57] = e.avgExcluded;
    return b;
}

std::vector<uint8_t> encodeMontage(const MontageRecord& m) {
    Bytes b(kMontageRecordSize, 0);
    writeU16(b.data(), m.numLines);
    writeU16(b.data() + 4, m.baseTime);
    b[6] = m.notch;
    b[7] = m.refMode;
    std::copy(m.colourCode.begin(), m.colourCode.end(), b.begin() + 8);
    std::copy(m.selected.begin(), m.selected.end(), b.begin() + 136);
    putArray(b.data() + 264, m.description);
    for (int i = 0; i < kMaxLines; ++i) {
        writeU16(b.data() + 328 + 4 * i, m.inputA[i]);
        writeU16(b.data() + 330 + 4 * i, m.inputB[i]);
        writeU32(b.data() + 840 + 4 * i, m.highPass[i]);
        writeU32(b.data() + 1352 + 4 * i, m.lowPass[i]);
        writeI32(b.data() + 1864 + 4 * i, m.gain[i]);
    }
    std::copy(m.colourIndex.begin(), m.colourIndex.end(), b.begin() + 3940);
    writeI32(b.data() + 4088, m.pageMs);
    b[4095] = m.converted;
    return b;
}

namespace {

// `s` in a field of N characters, cut to `room` of them (the rest NUL).
template <size_t N> std::array<char, N> label(const std::string& s, size_t room = N - 1) {
    std::array<char, N> a{};
    std::memcpy(a.data(), s.data(), std::min(room, s.size()));
    return a;
}

} // namespace

ElectrodeRecord eegElectrode(const std::string& name) {
    ElectrodeRecord e;
    e.status = 1;
    e.positiveLabel = label<6>(name);
    e.logicMin = 0;
    e.logicMax = 65535;
    e.logicGround = 32768;
    e.physicalMin = -3200;
    e.physicalMax = 3200;
    e.unit = 0;
    return e;
}

ElectrodeRecord polygraphicElectrode(const std::string& name, const std::string& negative,
                                     int32_t rangeMicrovolts) {
    ElectrodeRecord e = eegElectrode(name);
    e.electrodeType = 1;
    e.negativeLabel = label<6>(negative);
    e.physicalMin = -rangeMicrovolts;
    e.physicalMax = rangeMicrovolts;
    return e;
}

std::string numberedLabel(const char* prefix, int n) {
    std::string label = prefix;
    label += std::to_string(n);
    return label;
}

NoteRecord note(int32_t sample, const std::string& text) {
    NoteRecord n;
    n.sample = sample;
    n.text = label<40>(text, 40);
    return n;
}

MontageRecord montage(const std::string& description,
                      const std::vector<std::pair<uint16_t, uint16_t>>& lines) {
    MontageRecord m;
    m.description = label<64>(description);
    m.numLines = static_cast<uint16_t>(std::min<size_t>(lines.size(), kMaxLines));
    m.baseTime = 10;
    m.notch = 0;
    m.refMode = 0;
    for (int i = 0; i < m.numLines; ++i) {
        m.inputA[i] = lines[i].first;
        m.inputB[i] = lines[i].second;
        m.highPass[i] = 530; // 0.53 Hz
        m.lowPass[i] = 7000; // 70 Hz
        m.gain[i] = 100;     // uV/cm
        m.colourCode[i] = 0;
    }
    m.converted = 0;
    return m;
}

void writeRecording(const std::string& path, const RecordingDescription& d) {
    if (d.headerType > 4) {
        throw std::runtime_error("header types run from 0 to 4");
    }
    std::map<Area, Bytes> areas;
    uint32_t dataStart = 0;
    Bytes header;
    int width = d.bytesPerSample;
    if (d.headerType <= 1) {
        header = detail::headerType01(d);
        dataStart = d.dataStart.value_or(static_cast<uint32_t>(header.size()));
        width = 1;
    } else {
        areas = d.headerType == 4 ? areaContents(d) : detail::areasType23(d);
        header = headerType4(d, areas, dataStart);
    }

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    out.write(reinterpret_cast<const char*>(header.data()),
              static_cast<std::streamsize>(header.size()));
    for (int i = 0; i < kAreaCount; ++i) {
        auto content = areas.find(static_cast<Area>(i));
        if (content != areas.end()) {
            out.write(reinterpret_cast<const char*>(content->second.data()),
                      static_cast<std::streamsize>(content->second.size()));
        }
    }
    out.seekp(dataStart);
    writeSamples(out, d, width);
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    if (d.truncateAt) {
        std::filesystem::resize_file(path, *d.truncateAt);
    }
}

} // namespace viewer::testing
