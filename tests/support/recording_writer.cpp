#include "recording_writer.h"

#include "little_endian.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace viewer::testing {

namespace {

using Bytes = std::vector<uint8_t>;
using Areas = std::map<Area, Bytes>;

const char* const kAreaNames[kAreaCount] = {
    "ORDER   ", "LABCOD  ", "NOTE    ", "FLAGS   ", "TRONCA  ", "IMPED_B ", "IMPED_E ", "MONTAGE ",
    "COMPR   ", "AVERAGE ", "HISTORY ", "DVIDEO  ", "        ", "        ", "TRIGGER "};

void putChars(uint8_t* dst, const std::string& s, size_t width, char pad = ' ') {
    std::memset(dst, pad, width);
    std::memcpy(dst, s.data(), std::min(width, s.size()));
}

template <size_t N> void putArray(uint8_t* dst, const std::array<char, N>& a) {
    std::memcpy(dst, a.data(), N);
}

void put(std::ostream& out, const Bytes& b) {
    out.write(reinterpret_cast<const char*>(b.data()), std::ssize(b));
}

Bytes montageStart(const MontageRecord& m, size_t size) {
    Bytes b(size, 0);
    writeU16(b.data(), m.numLines);
    b[6] = m.notch;
    std::copy(m.colourCode.begin(), m.colourCode.end(), b.begin() + 8);
    std::copy(m.selected.begin(), m.selected.end(), b.begin() + 136);
    putArray(b.data() + 264, m.description);
    return b;
}

// `s` in a field of N characters, cut to `room` of them (the rest NUL).
template <size_t N> std::array<char, N> label(const std::string& s, size_t room = N - 1) {
    std::array<char, N> a{};
    std::memcpy(a.data(), s.data(), std::min(room, s.size()));
    return a;
}

uint16_t channelCount(const RecordingDescription& d) {
    return d.numChannels.value_or(d.order.size());
}

// The check word: the patient sum of bits 0..14 and the video flag, unless overridden.
uint16_t checkWord(const RecordingDescription& d) {
    uint8_t h[42];
    putChars(h, d.surname, 22);
    putChars(h + 22, d.name, 20);
    unsigned sum = d.birthMonth + d.birthDay + d.birthYear;
    for (int i = 0; i < 3; ++i) {
        sum += h[i] + h[22 + i];
    }
    return d.checkWord.value_or(static_cast<uint16_t>((sum & 0x7FFF) | (d.videoFlag ? 0x8000 : 0)));
}

void encodeElectrode(uint8_t* b, const ElectrodeRecord& e) {
    b[0] = e.status;
    b[1] = e.electrodeType;
    putArray(b + 2, e.positiveLabel);
    putArray(b + 8, e.negativeLabel);
    const int32_t fields[] = {e.logicMin, e.logicMax, e.logicGround, e.physicalMin, e.physicalMax};
    for (int i = 0; i < 5; ++i) {
        writeI32(b + 14 + 4 * i, fields[i]);
    }
    writeI16(b + 34, e.unit);
    b[57] = e.avgExcluded;
}

// The 128-byte electrode record of generations 2 and 3.
void oldElectrode(uint8_t* b, const ElectrodeRecord& e) {
    putArray(b + 2, e.positiveLabel);
    putArray(b + 8, e.negativeLabel);
    const int32_t logic[] = {e.logicMin, e.logicMax, e.logicGround};
    for (int i = 0; i < 3; ++i) {
        writeU16(b + 14 + 2 * i, static_cast<uint16_t>(logic[i]));
    }
    writeI32(b + 20, e.physicalMin);
    writeI32(b + 24, e.physicalMax);
    writeI16(b + 28, e.unit);
    b[63] = e.avgExcluded;
}

Bytes labcod(const RecordingDescription& d, int count,
             void (*encode)(uint8_t*, const ElectrodeRecord&)) {
    Bytes b(kElectrodeRecordSize * count, 0);
    for (const auto& [code, e] : d.electrodes) {
        if (code < count) {
            encode(b.data() + code * kElectrodeRecordSize, e);
        }
    }
    return b;
}

Bytes encodeMontage(const MontageRecord& m) {
    Bytes b = montageStart(m, kMontageRecordSize);
    writeU16(b.data() + 4, m.baseTime);
    b[7] = m.refMode;
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

// The 3072-byte montage record of generation 3 (page length in seconds).
Bytes encodeType3Montage(const MontageRecord& m) {
    Bytes b = montageStart(m, 3072);
    writeU16(b.data() + 4, static_cast<uint16_t>(m.converted ? m.pageMs / 1000 : m.baseTime));
    for (int i = 0; i < kMaxLines; ++i) {
        b[328 + 2 * i] = static_cast<uint8_t>(m.inputA[i]);
        b[329 + 2 * i] = static_cast<uint8_t>(m.inputB[i]);
        writeU32(b.data() + 584 + 4 * i, m.highPass[i]);
        writeU32(b.data() + 1096 + 4 * i, m.lowPass[i]);
        writeI32(b.data() + 1608 + 4 * i, m.gain[i]);
    }
    b[2120] = m.refMode;
    return b;
}

int32_t secondsOf(int32_t sample, uint16_t rate) { return rate ? sample / rate : 0; }

// `count` records of `size` bytes filled with `fill`; `write`(record, i) writes the first `n`.
template <typename Write>
Bytes table(size_t size, size_t count, size_t n, uint8_t fill, const Write& write) {
    Bytes b(size * count, fill);
    for (size_t i = 0; i < std::min(n, count); ++i) {
        write(b.data() + i * size, i);
    }
    return b;
}

// Notes (`seconds`: in seconds), segments, montages and history (from `encode`), raw areas.
void addCommonAreas(Areas& areas, const RecordingDescription& d, bool seconds,
                    Bytes (*encode)(const MontageRecord&)) {
    areas[Area::Note] =
        table(kNoteRecordSize, kNoteCapacity, d.notes.size(), 0, [&](auto p, auto i) {
            writeI32(p, seconds ? secondsOf(d.notes[i].sample, d.rate) : d.notes[i].sample);
            putArray(p + 4, d.notes[i].text);
        });
    areas[Area::Tronca] =
        table(kSegmentRecordSize, kSegmentCapacity, d.segments.size(), 0, [&](auto p, auto i) {
            writeI32(p, d.segments[i].origSample);
            writeU32(p + 4, d.segments[i].fileSample);
        });
    if (encode) {
        areas[Area::Montage] = table(encode(MontageRecord{}).size(), kArchivedMontageSlots,
                                     d.montages.size(), 0, [&](auto p, auto i) {
                                         const Bytes rec = encode(d.montages[i]);
                                         std::copy(rec.begin(), rec.end(), p);
                                     });
    }
    if (encode && (d.history || !d.historySamples.empty() || !d.historyMontages.empty())) {
        Bytes history = table(4, kHistoryPoints, d.historySamples.size(), 0xFF,
                              [&](auto p, auto i) { writeI32(p, d.historySamples[i]); });
        for (const MontageRecord& m : d.historyMontages) {
            const Bytes rec = encode(m);
            history.insert(history.end(), rec.begin(), rec.end());
        }
        areas[Area::History] = history;
    }
    for (const auto& [area, raw] : d.rawAreas) {
        areas[area] = raw;
    }
}

Areas areasType4(const RecordingDescription& d) {
    Areas areas;
    areas[Area::Order] =
        table(2, 256, d.order.size(), 0, [&](auto p, auto i) { writeU16(p, d.order[i]); });
    areas[Area::Labcod] = labcod(d, kElectrodeCount, encodeElectrode);
    areas[Area::ImpedB] = areas[Area::ImpedE] = Bytes(2 * d.order.size(), 0);
    if (d.videoIndex) {
        areas[Area::Dvideo] =
            table(kVideoRecordSize, kVideoCapacity, d.videos.size(), 0xFF, [&](auto p, auto i) {
                writeI32(p, d.videos[i].startMs);
                writeI32(p + 4, d.videos[i].lengthMs);
                writeI32(p + 8, d.videos[i].fileNumber);
            });
    }
    addCommonAreas(areas, d, false, encodeMontage);
    return areas;
}

Areas areasType23(const RecordingDescription& d) {
    Areas areas;
    areas[Area::Order] = Bytes(d.order.begin(), d.order.end()); // one byte per code
    areas[Area::Labcod] = labcod(d, 255, oldElectrode);
    addCommonAreas(areas, d, d.headerType == 2, d.headerType == 3 ? encodeType3Montage : nullptr);
    return areas;
}

// The 640-byte header and area table of generations 2 to 4; `dataStart` is set.
Bytes headerWithAreas(const RecordingDescription& d, const Areas& areas, uint32_t& dataStart) {
    Bytes h(kHeaderSize, 0);
    putChars(h.data() + 64, d.surname, 22);
    putChars(h.data() + 86, d.name, 20);
    const uint8_t dates[] = {d.birthMonth, d.birthDay, d.birthYear};
    std::copy(std::begin(dates), std::end(dates), h.begin() + 106);
    const uint8_t times[] = {d.recDay, d.recMonth, d.recYear, d.recHour, d.recMinute, d.recSecond};
    std::copy(std::begin(times), std::end(times), h.begin() + 128);
    writeU16(h.data() + 136, d.fileType);
    writeU16(h.data() + 142, channelCount(d));
    writeU16(h.data() + 144, d.multiplexer.value_or(uint16_t(channelCount(d) * d.bytesPerSample)));
    writeU16(h.data() + 146, d.rate);
    writeU16(h.data() + 148, d.bytesPerSample);
    writeU16(h.data() + 152, d.numMontages.value_or(static_cast<uint16_t>(d.montages.size())));
    writeI32(h.data() + 154, d.videoStart);
    writeU16(h.data() + 158, d.videoDelay);
    writeU16(h.data() + 160, checkWord(d));
    h[kHeaderTypeOffset] = d.headerType;
    uint32_t offset = kHeaderSize;
    for (int i = 0; i < kAreaCount; ++i) {
        const auto area = static_cast<Area>(i);
        uint8_t* desc = h.data() + kAreaTableOffset + 16 * i;
        const auto content = areas.find(area);
        // The history and video areas carry their names only when the description asks.
        const bool named = content != areas.end() && (area != Area::History || d.history) &&
                           (area != Area::Dvideo || d.videoIndex);
        const auto name = d.areaNames.find(area);
        std::memcpy(desc,
                    name != d.areaNames.end() ? name->second.data()
                    : named                   ? kAreaNames[i]
                                              : "        ",
                    8);
        if (content != areas.end()) {
            writeU32(desc + 8, offset);
            writeU32(desc + 12, static_cast<uint32_t>(content->second.size()));
            offset += static_cast<uint32_t>(content->second.size());
        }
    }
    dataStart = d.dataStart.value_or(offset);
    writeU32(h.data() + 138, dataStart);
    return h;
}

uint16_t oldCodeFor(uint16_t code, uint8_t headerType) {
    for (uint16_t key = 0; key < 128; ++key) {
        if (legacy::translateOldCode(key, headerType) == code) {
            return key;
        }
    }
    throw std::runtime_error("electrode code " + std::to_string(code) + " has no old channel code");
}

// The 6144-byte header of generations 0 and 1; type 1 holds the built-in labels, "L64" ...
Bytes headerType01(const RecordingDescription& d) {
    Bytes h(6144, 0);
    writeU16(h.data() + 8, d.rate);
    writeU16(h.data() + 12, d.calibrationDivisor);
    for (size_t i = 0; i < d.order.size() && i < 128; ++i) {
        writeU16(h.data() + 14 + 2 * i,
                 i < d.oldCodes.size() ? d.oldCodes[i] : oldCodeFor(d.order[i], d.headerType));
    }
    h[175] = d.headerType;
    writeU16(h.data() + 176, d.fileType);
    writeU16(h.data() + 182, static_cast<uint16_t>(d.dataStart.value_or(6144)));
    writeU16(h.data() + 184, channelCount(d));
    const uint8_t fields[] = {d.recMonth, d.recDay, d.recYear, d.recHour, d.recMinute, d.recSecond};
    std::copy(std::begin(fields), std::end(fields), h.begin() + 186);
    putChars(h.data() + 192, d.surname, 22);
    putChars(h.data() + 214, d.name, 20);
    const uint8_t birth[] = {d.birthMonth, d.birthDay, d.birthYear};
    std::copy(std::begin(birth), std::end(birth), h.begin() + 234);
    for (size_t i = 0; i < d.segments.size() && i < 15; ++i) {
        writeI32(h.data() + 360 + 8 * i, d.segments[i].origSample);
        writeU32(h.data() + 364 + 8 * i, d.segments[i].fileSample);
    }
    for (size_t i = 0; i < d.notes.size() && i < 80; ++i) {
        writeI32(h.data() + 480 + 24 * i, secondsOf(d.notes[i].sample, d.rate));
        std::memcpy(h.data() + 484 + 24 * i, d.notes[i].text.data(), 20);
    }
    if (d.headerType == 1) {
        const auto& builtIn = legacy::builtInLabelTable();
        for (size_t k = 0; k < 126; ++k) {
            uint8_t* e = h.data() + 5056 + 8 * k;
            if (k < builtIn.size()) {
                std::memcpy(e, builtIn[k].label.data(), 6);
                writeU16(e + 6, builtIn[k].range);
            } else {
                std::snprintf(reinterpret_cast<char*>(e), 6, "L%-4d", static_cast<int>(k));
                writeU16(e + 6, 800);
            }
        }
    }
    // The check word lies among the channel codes of very wide recordings; it wins.
    writeU16(h.data() + 160, checkWord(d));
    return h;
}

void writeSamples(std::ofstream& out, const RecordingDescription& d, int width) {
    const int channels = static_cast<int>(d.order.size());
    Bytes chunk;
    for (int64_t first = 0; first < d.frames; first += 4096) {
        const int64_t count = std::min<int64_t>(4096, d.frames - first);
        chunk.assign(static_cast<size_t>(count * channels * width), 0);
        uint8_t* p = chunk.data();
        for (int64_t f = first; d.sample && f < first + count; ++f) {
            for (int c = 0; c < channels; ++c) {
                const auto v = static_cast<uint32_t>(d.sample(f, c));
                for (int b = 0; b < width; ++b) {
                    *p++ = b < 4 ? static_cast<uint8_t>(v >> (8 * b)) : uint8_t{0};
                }
            }
        }
        put(out, chunk);
    }
}

} // namespace

ElectrodeRecord eegElectrode(const std::string& name) {
    ElectrodeRecord e;
    e.status = 1;
    e.positiveLabel = label<6>(name);
    e.logicMin = 0, e.logicMax = 65535, e.logicGround = 32768;
    e.physicalMin = -3200, e.physicalMax = 3200;
    return e;
}

ElectrodeRecord polygraphicElectrode(const std::string& name, const std::string& negative,
                                     int32_t rangeMicrovolts) {
    ElectrodeRecord e = eegElectrode(name);
    e.electrodeType = 1;
    e.negativeLabel = label<6>(negative);
    e.physicalMin = -rangeMicrovolts, e.physicalMax = rangeMicrovolts;
    return e;
}

NoteRecord note(int32_t sample, const std::string& text) { return {sample, label<40>(text, 40)}; }

MontageRecord montage(const std::string& description,
                      const std::vector<std::pair<uint16_t, uint16_t>>& lines) {
    MontageRecord m;
    m.description = label<64>(description);
    m.numLines = static_cast<uint16_t>(std::min<size_t>(lines.size(), kMaxLines));
    m.baseTime = 10;
    for (int i = 0; i < m.numLines; ++i) {
        m.inputA[i] = lines[i].first, m.inputB[i] = lines[i].second;
        m.highPass[i] = 530, m.lowPass[i] = 7000, m.gain[i] = 100; // 0.53 Hz, 70 Hz, 100 uV/cm
    }
    return m;
}

void writeRecording(const std::string& path, const RecordingDescription& d) {
    if (d.headerType > 4) {
        throw std::runtime_error("header types run from 0 to 4");
    }
    const Areas areas = d.headerType <= 1   ? Areas{}
                        : d.headerType == 4 ? areasType4(d)
                                            : areasType23(d);
    uint32_t dataStart = d.dataStart.value_or(6144);
    const Bytes header = d.headerType <= 1 ? headerType01(d) : headerWithAreas(d, areas, dataStart);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    put(out, header);
    for (const auto& [area, content] : areas) {
        put(out, content);
    }
    out.seekp(dataStart);
    writeSamples(out, d, d.headerType <= 1 ? 1 : d.bytesPerSample);
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    if (d.truncateAt) {
        std::filesystem::resize_file(path, *d.truncateAt);
    }
}

} // namespace viewer::testing
