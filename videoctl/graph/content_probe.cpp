#include "content_probe.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>

namespace clipdeck {

namespace {

// The ASF header object identifier {75B22630-668E-11CF-A6D9-00AA0062CE6C} as stored.
constexpr std::array<uint8_t, 16> kAsfHeaderId = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                                  0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr char kTargaFooter[] = "TRUEVISION-XFILE."; // followed by a zero byte

bool startsWith(const std::array<uint8_t, 64>& bytes, size_t at, const char* text, size_t n) {
    return std::memcmp(bytes.data() + at, text, n) == 0;
}

bool isStartCode(const std::array<uint8_t, 64>& head, size_t at) {
    return head[at] == 0x00 && head[at + 1] == 0x00 && head[at + 2] == 0x01 &&
           (head[at + 3] == 0xBA || head[at + 3] == 0xB3);
}

bool endsWithTga(std::string_view path) {
    if (path.size() <= 4) {
        return false;
    }
    std::string ext(path.substr(path.size() - 4));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".tga";
}

} // namespace

bool readProbeBytes(const std::string& path, ProbeBytes& bytes) {
    bytes = ProbeBytes{};
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= 0) {
        return false;
    }
    const std::streamoff headSize = std::min<std::streamoff>(size, 64);
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.head.data()), headSize)) {
        return false;
    }
    in.seekg(size - headSize);
    return static_cast<bool>(
        in.read(reinterpret_cast<char*>(bytes.tail.data() + (64 - headSize)), headSize));
}

ProbeVerdict classifyContent(const ProbeBytes& bytes, std::string_view path) {
    const auto& head = bytes.head;
    if (startsWith(head, 0, "RIFF", 4)) {
        if (startsWith(head, 8, "AVI ", 4)) {
            return ProbeVerdict::NotMpeg;
        }
        if (startsWith(head, 8, "CDXA", 4)) {
            return ProbeVerdict::Mpeg;
        }
    } else {
        if (startsWith(head, 0, "PK\x03\x04", 4)) {
            return ProbeVerdict::Zip;
        }
        if (isStartCode(head, 0)) {
            return ProbeVerdict::Mpeg;
        }
        if (startsWith(head, 0, "#str", 4)) {
            return ProbeVerdict::NotMpeg;
        }
    }
    if (std::equal(kAsfHeaderId.begin(), kAsfHeaderId.end(), head.begin())) {
        return ProbeVerdict::NotMpeg;
    }
    if (startsWith(head, 0, "BM", 2) || endsWithTga(path)) {
        return ProbeVerdict::NotMpeg;
    }
    if (std::memcmp(bytes.tail.data() + 64 - sizeof kTargaFooter, kTargaFooter,
                    sizeof kTargaFooter) == 0) {
        return ProbeVerdict::NotMpeg;
    }
    for (size_t at = 0; at < 60; ++at) {
        if (isStartCode(head, at)) {
            return ProbeVerdict::Mpeg;
        }
    }
    return ProbeVerdict::NotMpeg;
}

bool probeIsMpeg(const std::string& path, const Reporter& report) {
    ProbeBytes bytes;
    if (!readProbeBytes(path, bytes)) {
        return false;
    }
    switch (classifyContent(bytes, path)) {
    case ProbeVerdict::Mpeg:
        return true;
    case ProbeVerdict::Zip:
        report(kMessageCaption,
               messageText("\"%s\" is a Zip file!  Try unzipping it.", path.c_str()));
        return false;
    case ProbeVerdict::NotMpeg:
        break;
    }
    return false;
}

} // namespace clipdeck
