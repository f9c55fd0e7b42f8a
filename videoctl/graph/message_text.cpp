#include "message_text.h"

#include <array>
#include <cstdarg>
#include <cstdio>

namespace clipdeck {

std::string messageText(const char* format, ...) {
    std::array<char, 512> buffer{};
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    return n < 0 ? std::string() : std::string(buffer.data());
}

} // namespace clipdeck
