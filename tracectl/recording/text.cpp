#include "text.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace viewer {

std::string_view fieldText(const char* field, size_t maxChars) {
    const void* nul = std::memchr(field, '\0', maxChars);
    const size_t n = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : maxChars;
    return {field, n};
}

std::string_view trimRight(std::string_view s) {
    const size_t end = s.find_last_not_of(" \t\r\n\v\f");
    return end == std::string_view::npos ? std::string_view{} : s.substr(0, end + 1);
}

namespace {

// Code points of bytes 0x80..0x9F; 0 marks the five bytes Windows-1252 leaves unassigned.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string windows1252ToUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        const auto byte = static_cast<uint8_t>(c);
        uint32_t cp = byte;
        if (byte >= 0x80 && byte < 0xA0) {
            cp = kHighControls[byte - 0x80];
            if (cp == 0) {
                cp = 0xFFFD;
            }
        }
        appendUtf8(out, cp);
    }
    return out;
}

} // namespace viewer
