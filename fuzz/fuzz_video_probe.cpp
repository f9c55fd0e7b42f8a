// The file-kind tests and the content probe of the video control. The input's first line
// is the path, the rest the file's content.

#include "content_probe.h"
#include "file_kind.h"
#include "fuzz_input.h"

#include <algorithm>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace clipdeck;
    const uint8_t* newline = std::find(data, data + size, '\n');
    const std::string path(reinterpret_cast<const char*>(data), newline - data);
    isAvcPath(path);
    isAsfPath(path);
    const uint8_t* content = newline == data + size ? newline : newline + 1;
    const viewer::fuzz::InputFile input(content, static_cast<size_t>(data + size - content));
    ProbeBytes bytes;
    if (readProbeBytes(input.path(), bytes)) {
        classifyContent(bytes, path);
    }
    probeIsMpeg(input.path(), [](const std::string&, const std::string&) {});
    return 0;
}
