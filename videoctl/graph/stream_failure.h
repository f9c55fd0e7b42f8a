#pragma once
// The failure code for an error the back end posts while it reads, demultiplexes or
// decodes a file.

#include <gst/gst.h>

#include <cstdint>

namespace clipdeck {

// A missing file gives 0x80070002, a stream of unknown type or without a decoder
// 0x80040265, damaged data 0x8004022F; anything else the generic 0x80004005.
uint32_t codeForStreamError(const GError* error);

} // namespace clipdeck
