#pragma once
// The file-kind tests on the path alone. Paths are the 8-bit form handed to the back end.

#include <string_view>

namespace clipdeck {

// True when the extension is "MTS" or "MPE" in any case. The extension is the text after
// the last "."; a path whose last "." is its first character has none. A "." in a folder
// name counts like any other, as the tests always have.
bool isAvcPath(std::string_view path);

// True when the first 259 bytes of the path, lower-cased, contain ".asf", ".wma" or
// ".wmv" anywhere, in a folder name as well as at the end.
bool isAsfPath(std::string_view path);

} // namespace clipdeck
