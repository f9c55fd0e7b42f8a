#include "json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tracecall {

std::string jsonString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

namespace {

template <typename T> std::string shortest(T v) {
    if (!std::isfinite(v)) {
        return "null";
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, res.ptr);
    // Keep it a JSON number: "1e+20" is fine, but "inf" never reaches here.
    return s;
}

} // namespace

std::string jsonFloat(float v) { return shortest(v); }
std::string jsonDouble(double v) { return shortest(v); }

} // namespace tracecall
