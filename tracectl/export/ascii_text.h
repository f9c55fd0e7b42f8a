#pragma once
// EDF header fields take printable ASCII only; the recording's text fields are Windows-1252.

#include <string>
#include <string_view>

namespace viewer::edf {

// Transliterates Windows-1252 text to printable ASCII: accented letters lose their accents
// ("e" for e-acute), ligatures and sharp s are spelled out ("AE", "ss"), typographic quotes
// and dashes become their plain forms, control characters become blanks and the bytes the
// code page leaves unassigned become '?'.
std::string asciiFromWindows1252(std::string_view s);

} // namespace viewer::edf
