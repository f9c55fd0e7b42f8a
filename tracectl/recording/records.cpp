#include "records.h"

#include "little_endian.h"

#include <algorithm>

namespace viewer {

namespace {

template <size_t N> void copyChars(std::array<char, N>& dst, const uint8_t* src) {
    std::copy_n(reinterpret_cast<const char*>(src), N, dst.begin());
}

} // namespace

TrcHeader decodeHeader(const uint8_t* b) {
    TrcHeader h;
    copyChars(h.surname, b + 64);
    copyChars(h.name, b + 86);
    h.birthMonth = b[106];
    h.birthDay = b[107];
    h.birthYear = b[108];
    h.recDay = b[128];
    h.recMonth = b[129];
    h.recYear = b[130];
    h.recHour = b[131];
    h.recMinute = b[132];
    h.recSecond = b[133];
    h.fileType = readU16(b + 136);
    h.dataStart = readU32(b + 138);
    h.numChannels = readU16(b + 142);
    h.multiplexer = readU16(b + 144);
    h.rate = readU16(b + 146);
    h.bytesPerSample = readU16(b + 148);
    h.numMontages = readU16(b + 152);
    h.videoStart = readI32(b + 154);
    h.videoDelay = readU16(b + 158);
    h.checkWord = readU16(b + 160);
    h.headerType = b[kHeaderTypeOffset];
    for (int i = 0; i < kAreaCount; ++i) {
        const uint8_t* d = b + kAreaTableOffset + 16 * i;
        copyChars(h.areas[i].name, d);
        h.areas[i].offset = readU32(d + 8);
        h.areas[i].length = readU32(d + 12);
    }
    return h;
}

ElectrodeRecord decodeElectrode(const uint8_t* b) {
    ElectrodeRecord e;
    e.status = b[0];
    e.electrodeType = b[1];
    copyChars(e.positiveLabel, b + 2);
    copyChars(e.negativeLabel, b + 8);
    e.logicMin = readI32(b + 14);
    e.logicMax = readI32(b + 18);
    e.logicGround = readI32(b + 22);
    e.physicalMin = readI32(b + 26);
    e.physicalMax = readI32(b + 30);
    e.unit = readI16(b + 34);
    e.avgExcluded = b[57];
    return e;
}

NoteRecord decodeNote(const uint8_t* b) {
    NoteRecord n;
    n.sample = readI32(b);
    copyChars(n.text, b + 4);
    return n;
}

SegmentRecord decodeSegment(const uint8_t* b) { return {readI32(b), readU32(b + 4)}; }

VideoRecord decodeVideo(const uint8_t* b) { return {readI32(b), readI32(b + 4), readI32(b + 8)}; }

MontageRecord decodeMontage(const uint8_t* b) {
    MontageRecord m;
    m.numLines = readU16(b);
    m.baseTime = readU16(b + 4);
    m.notch = b[6];
    m.refMode = b[7];
    std::copy_n(b + 8, kMaxLines, m.colourCode.begin());
    std::copy_n(b + 136, kMaxLines, m.selected.begin());
    copyChars(m.description, b + 264);
    for (int i = 0; i < kMaxLines; ++i) {
        m.inputA[i] = readU16(b + 328 + 4 * i);
        m.inputB[i] = readU16(b + 330 + 4 * i);
        m.highPass[i] = readU32(b + 840 + 4 * i);
        m.lowPass[i] = readU32(b + 1352 + 4 * i);
        m.gain[i] = readI32(b + 1864 + 4 * i);
    }
    std::copy_n(b + 3940, kMaxLines, m.colourIndex.begin());
    m.pageMs = readI32(b + 4088);
    m.converted = b[4095];
    return m;
}

} // namespace viewer
