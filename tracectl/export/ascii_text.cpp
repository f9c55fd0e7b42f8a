#include "ascii_text.h"

#include <array>
#include <cstdint>

namespace viewer::edf {

namespace {

// ASCII spelling of bytes 0x80..0xFF.
constexpr std::array<const char*, 128> kHigh = {
    // 0x80
    "EUR", "?", ",", "f", "\"", "...", "+", "+", "^", "%", "S", "<", "OE", "?", "Z", "?",
    // 0x90
    "?", "'", "'", "\"", "\"", "*", "-", "-", "~", "TM", "s", ">", "oe", "?", "z", "Y",
    // 0xA0
    " ", "!", "c", "L", "?", "Y", "|", "S", "\"", "(c)", "a", "<<", "-", "-", "(R)", "-",
    // 0xB0
    "o", "+-", "2", "3", "'", "u", "P", ".", ",", "1", "o", ">>", "1/4", "1/2", "3/4", "?",
    // 0xC0
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
    // 0xD0
    "D", "N", "O", "O", "O", "O", "O", "x", "O", "U", "U", "U", "U", "Y", "Th", "ss",
    // 0xE0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    // 0xF0
    "d", "n", "o", "o", "o", "o", "o", "/", "o", "u", "u", "u", "u", "y", "th", "y"};

} // namespace

std::string asciiFromWindows1252(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte >= 0x80) {
            out += kHigh[byte - 0x80];
        } else if (byte < 0x20 || byte == 0x7F) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace viewer::edf
