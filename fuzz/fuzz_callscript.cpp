// Parses the input as one scripted call, as tracecall and clipcall read them, and as a
// "WxH" size.

#include "call_parser.h"
#include "json.h"
#include "script_runner.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (const auto call = tracecall::parseCall(text, error)) {
        tracecall::jsonString(call->name);
        for (const tracecall::Argument& a : call->args) {
            tracecall::jsonDouble(a.decimal());
            tracecall::jsonString(a.text);
        }
    }
    int width = 0;
    int height = 0;
    tracecall::parseSize(text.c_str(), width, height);
    return 0;
}
