#pragma once
// The 8-bit text fields of a trace file, read as Windows-1252.

#include <string>
#include <string_view>

namespace viewer {

// The field up to its first NUL, never more than `maxChars` characters.
std::string_view fieldText(const char* field, size_t maxChars);

// Drops trailing blanks, tabs and line breaks.
std::string_view trimRight(std::string_view s);

// Converts Windows-1252 bytes to UTF-8; the five unassigned bytes become U+FFFD.
std::string windows1252ToUtf8(std::string_view s);

} // namespace viewer
