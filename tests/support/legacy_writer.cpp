#include "legacy_writer.h"

#include "little_endian.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace viewer::testing {

namespace detail {

namespace {

std::vector<legacy::LabelEntry> defaultLabelTable() {
    const auto& builtIn = legacy::builtInLabelTable();
    std::vector<legacy::LabelEntry> table(builtIn.begin(), builtIn.end());
    for (int k = 64; k < 126; ++k) {
        legacy::LabelEntry e;
        std::snprintf(e.label.data(), e.label.size(), "L%-4d", k); // "L64  "
        e.range = 800;
        table.push_back(e);
    }
    return table;
}

uint16_t oldCodeFor(uint16_t code, uint8_t headerType) {
    for (uint16_t key = 0; key < 128; ++key) {
        if (legacy::translateOldCode(key, headerType) == code) {
            return key;
        }
    }
    throw std::runtime_error("electrode code " + std::to_string(code) + " has no old channel code");
}

int32_t secondsOf(int32_t sample, uint16_t rate) { return rate ? sample / rate : 0; }

Bytes oldElectrode(const ElectrodeRecord& e) {
    Bytes b(kElectrodeRecordSize, 0);
    std::memcpy(b.data() + 2, e.positiveLabel.data(), 6);
    std::memcpy(b.data() + 8, e.negativeLabel.data(), 6);
    writeU16(b.data() + 14, static_cast<uint16_t>(e.logicMin));
    writeU16(b.data() + 16, static_cast<uint16_t>(e.logicMax));
    writeU16(b.data() + 18, static_cast<uint16_t>(e.logicGround));
    writeI32(b.data() + 20, e.physicalMin);
    writeI32(b.data() + 24, e.physicalMax);
    writeI16(b.data() + 28, e.unit);
    b[63] = e.avgExcluded;
    return b;
}

} // namespace

void putChars(uint8_t* dst, const std::string& s, size_t width, char pad) {
    std::memset(dst, pad, width);
    std::memcpy(dst, s.data(), std::min(width, s.size()));
}

Bytes headerType01(const RecordingDescription& d) {
    Bytes h(6144, 0);
    const auto channels = static_cast<uint16_t>(d.numChannels.value_or(d.order.size()));
    writeU16(h.data() + 8, d.rate);
    writeU16(h.data() + 12, d.calibrationDivisor);
    for (size_t i = 0; i < d.order.size() && i < 128; ++i) {
        const uint16_t old =
            i < d.oldCodes.size() ? d.oldCodes[i] : oldCodeFor(d.order[i], d.headerType);
        writeU16(h.data() + 14 + 2 * i, old);
    }
    h[175] = d.headerType;
    writeU16(h.data() + 176, d.fileType);
    writeU16(h.data() + 182, static_cast<uint16_t>(d.dataStart.value_or(6144)));
    writeU16(h.data() + 184, channels);
    h[186] = d.recMonth;
    h[187] = d.recDay;
    h[188] = d.recYear;
    h[189] = d.recHour;
    h[190] = d.recMinute;
    h[191] = d.recSecond;
    putChars(h.data() + 192, d.surname, 22, ' ');
    putChars(h.data() + 214, d.name, 20, ' ');
    h[234] = d.birthMonth;
    h[235] = d.birthDay;
    h[236] = d.birthYear;
    for (size_t i = 0; i < d.segments.size() && i < 15; ++i) {
        writeI32(h.data() + 360 + 8 * i, d.segments[i].origSample);
        writeU32(h.data() + 364 + 8 * i, d.segments[i].fileSample);
    }
    for (size_t i = 0; i < d.notes.size() && i < 80; ++i) {
        uint8_t* n = h.data() + 480 + 24 * i;
        writeI32(n, secondsOf(d.notes[i].sample, d.rate));
        std::memcpy(n + 4, d.notes[i].text.data(), 20);
    }
    if (d.headerType == 1) {
        const auto table = d.labelTable.empty() ? defaultLabelTable() : d.labelTable;
        for (size_t k = 0; k < table.size() && k < 126; ++k) {
            std::memcpy(h.data() + 5056 + 8 * k, table[k].label.data(), 6);
            writeU16(h.data() + 5062 + 8 * k, table[k].range);
        }
    }
    // The check word lies among the channel codes of very wide recordings; it wins.
    const uint16_t sum = d.patientSum() | (d.videoFlag ? 0x8000 : 0);
    writeU16(h.data() + 160, d.checkWord.value_or(sum));
    return h;
}

std::map<Area, Bytes> areasType23(const RecordingDescription& d) {
    std::map<Area, Bytes> areas;
    Bytes order(d.order.size(), 0);
    std::transform(d.order.begin(), d.order.end(), order.begin(),
                   [](uint16_t code) { return static_cast<uint8_t>(code); });
    areas[Area::Order] = order;

    Bytes labcod(255 * kElectrodeRecordSize, 0);
    for (const auto& [code, e] : d.electrodes) {
        if (code < 255) {
            const Bytes rec = oldElectrode(e);
            std::copy(rec.begin(), rec.end(), labcod.begin() + code * kElectrodeRecordSize);
        }
    }
    areas[Area::Labcod] = labcod;

    Bytes notes(kNoteRecordSize * kNoteCapacity, 0);
    for (size_t i = 0; i < d.notes.size() && i < kNoteCapacity; ++i) {
        const int32_t at =
            d.headerType == 2 ? secondsOf(d.notes[i].sample, d.rate) : d.notes[i].sample;
        writeI32(notes.data() + i * kNoteRecordSize, at);
        std::memcpy(notes.data() + i * kNoteRecordSize + 4, d.notes[i].text.data(), 40);
    }
    areas[Area::Note] = notes;

    areas[Area::Tronca] = segmentsArea(d);

    if (d.headerType == 3) {
        addMontageAreas(areas, d, encodeType3Montage, 3072);
    }
    for (const auto& [area, raw] : d.rawAreas) {
        areas[area] = raw;
    }
    return areas;
}

} // namespace detail

std::vector<uint8_t> encodeType3Montage(const MontageRecord& m) {
    detail::Bytes b(3072, 0);
    writeU16(b.data(), m.numLines);
    const int32_t seconds = m.converted ? m.pageMs / 1000 : m.baseTime;
    writeU16(b.data() + 4, static_cast<uint16_t>(seconds));
    b[6] = m.notch;
    std::copy(m.colourCode.begin(), m.colourCode.end(), b.begin() + 8);
    std::copy(m.selected.begin(), m.selected.end(), b.begin() + 136);
    std::memcpy(b.data() + 264, m.description.data(), 64);
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

} // namespace viewer::testing
