#include "legacy_tables.h"

#include <cstring>

namespace viewer::legacy {

namespace {

LabelEntry entry(const char* text, uint16_t range = 800) {
    LabelEntry e;
    std::memset(e.label.data(), ' ', 5);
    std::memcpy(e.label.data(), text, std::strlen(text));
    e.label[5] = '\0';
    e.range = range;
    return e;
}

std::array<LabelEntry, 64> makeBuiltInTable() {
    constexpr uint16_t kEcg = 6400;
    constexpr uint16_t kMillivolt4000 = 20384; // unit 1, range 4000
    return {entry("G2"),
            entry("Fp1"),
            entry("Fp2"),
            entry("F3"),
            entry("F4"),
            entry("F7"),
            entry("F8"),
            entry("Fz"),
            entry("C3"),
            entry("C4"),
            entry("Cz"),
            entry("P3"),
            entry("P4"),
            entry("Pz"),
            entry("O1"),
            entry("O2"),
            entry("T3"),
            entry("T4"),
            entry("T5"),
            entry("T6"),
            entry("EOG"),
            entry("EMG"),
            entry("ECG", kEcg),
            entry("PNG"),
            entry("AUX", kMillivolt4000),
            entry("MKR"),
            entry("GND"),
            entry("....."),
            entry("Fpz"),
            entry("Oz"),
            entry("A2"),
            entry("A1"),
            entry("EMG1+"),
            entry("EMG1-"),
            entry("EMG2+"),
            entry("EMG2-"),
            entry("EMG3+"),
            entry("EMG3-"),
            entry("EMG4+"),
            entry("EMG4-"),
            entry("PNG1+"),
            entry("PNG1-"),
            entry("PNG2+"),
            entry("PNG2-"),
            entry("PNG3+"),
            entry("PNG3-"),
            entry("ECG1+", kEcg),
            entry("ECG1-", kEcg),
            entry("ECG2+", kEcg),
            entry("ECG2-", kEcg),
            entry("DC1+", kMillivolt4000),
            entry("DC1-", kMillivolt4000),
            entry("DC2+", kMillivolt4000),
            entry("DC2-", kMillivolt4000),
            entry("EOG1+"),
            entry("EOG1-"),
            entry("....."),
            entry("....."),
            entry("....."),
            entry("....."),
            entry("MKR+"),
            entry("MKR-"),
            entry("....."),
            entry(".....")};
}

// Type-1 label indexes of codes 32..63 and 176..186.
constexpr int kType1Codes32To63[32] = {65, 92, 66, 69, 67, 71, 68, 70, 80, 72, 74,
                                       73, 81, 82, 75, 77, 76, 83, 78, 93, 79, 95,
                                       94, 91, 90, 89, 88, 87, 86, 85, 84, 64};
constexpr int kType1Codes176To186[11] = {96, 98, 100, 102, 104, 106, 110, 112, 114, 116, 124};

constexpr uint8_t kTranslation[128] = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  16,  17,  18,
    19,  171, 160, 167, 164, 169, 174, 255, 255, 20,  21,  22,  23,  160, 160, 161, 161, 162, 162,
    163, 163, 164, 164, 165, 165, 166, 166, 167, 167, 168, 168, 169, 169, 170, 170, 171, 171, 255,
    255, 255, 255, 174, 174, 255, 255, 63,  32,  34,  36,  38,  35,  39,  37,  41,  43,  42,  46,
    48,  47,  50,  52,  40,  44,  45,  49,  62,  61,  60,  59,  58,  57,  56,  55,  33,  51,  54,
    53,  176, 176, 177, 177, 178, 178, 179, 179, 180, 180, 181, 181, 255, 255, 182, 182, 183, 183,
    184, 184, 185, 185, 255, 255, 255, 255, 255, 255, 186, 186, 255, 255};

} // namespace

const std::array<LabelEntry, 64>& builtInLabelTable() {
    static const std::array<LabelEntry, 64> table = makeBuiltInTable();
    return table;
}

int labelIndex(int code, uint8_t headerType) {
    if (code >= 0 && code <= 19) {
        return code;
    }
    if (code >= 20 && code <= 23) {
        return code + 8;
    }
    if (code >= 24 && code <= 31) {
        return 27;
    }
    if (code >= 32 && code <= 63) {
        return headerType == 1 ? kType1Codes32To63[code - 32] : 27;
    }
    if (code >= 160 && code <= 171) {
        return 32 + 2 * (code - 160);
    }
    if (code == 174) {
        return 60;
    }
    if (code >= 172 && code <= 175) {
        return 62;
    }
    if (code >= 176 && code <= 186) {
        return headerType == 1 ? kType1Codes176To186[code - 176] : 62;
    }
    return -1;
}

uint16_t translateOldCode(uint16_t f, uint8_t headerType) {
    const unsigned hi = f / 256;
    unsigned key = 0;
    if (hi == 0 || (headerType == 0 && hi == 26)) {
        key = f & 0xFF;
    } else if (hi < 32) {
        key = hi;
    } else {
        key = f & 0xFE;
    }
    return key < 128 ? kTranslation[key] : uint16_t{255};
}

} // namespace viewer::legacy
