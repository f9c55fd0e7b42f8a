#include "file_kind.h"

#include <algorithm>
#include <string>

namespace clipdeck {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

} // namespace

bool isAvcPath(std::string_view path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot == 0) {
        return false;
    }
    const std::string_view ext = path.substr(dot + 1);
    return equalsIgnoringCase(ext, "mts") || equalsIgnoringCase(ext, "mpe");
}

bool isAsfPath(std::string_view path) {
    std::string lower(path.substr(0, 259));
    std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
    return lower.find(".asf") != std::string::npos || lower.find(".wma") != std::string::npos ||
           lower.find(".wmv") != std::string::npos;
}

} // namespace clipdeck
