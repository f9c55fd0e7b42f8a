#pragma once
// The texts of the control's message boxes: printf-style with the failure code in
// hexadecimal, at most 511 characters, and the captions they are shown under.

#include <functional>
#include <string>

namespace clipdeck {

inline constexpr char kMessageCaption[] = "Video EEG Message";
inline constexpr char kLoadFailureCaption[] = "Failed to render file to VMR9";

// Shows one message; the control decides how (a modal box by default).
using Reporter = std::function<void(const std::string& caption, const std::string& text)>;

// `format` filled in with the arguments, cut to 511 characters. The format is always a
// fixed text of this library; paths and other outside texts only ever come in as arguments.
std::string messageText(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace clipdeck
