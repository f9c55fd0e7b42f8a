#pragma once
// The content probe: decides from the first and last 64 bytes of a file whether it is an
// MPEG program stream (or a RIFF "CDXA" wrapper of one).

#include "message_text.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace clipdeck {

struct ProbeBytes {
    // The first 64 bytes; a shorter file leaves the rest zero.
    std::array<uint8_t, 64> head{};
    // The last 64 bytes; a file of 64 bytes or less sits at the end, zeros before it.
    std::array<uint8_t, 64> tail{};
};

enum class ProbeVerdict { NotMpeg, Mpeg, Zip };

// Fills `bytes` from the file. False when it cannot be opened or read, or is empty; never
// reads past the end of a short file.
bool readProbeBytes(const std::string& path, ProbeBytes& bytes);

// The verdict on bytes read from `path` (the path matters for the ".tga" rule). A Zip
// archive is not MPEG; it has a verdict of its own because the probe tells the user.
ProbeVerdict classifyContent(const ProbeBytes& bytes, std::string_view path);

// True for MPEG. A Zip archive shows "\"<path>\" is a Zip file!  Try unzipping it." through
// `report` and is not MPEG; an unreadable or empty file is not MPEG.
bool probeIsMpeg(const std::string& path, const Reporter& report);

} // namespace clipdeck
