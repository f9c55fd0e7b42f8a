#include "stream_failure.h"

#include "failure_codes.h"

namespace clipdeck {

namespace {

uint32_t resourceCode(int code) {
    switch (code) {
    case GST_RESOURCE_ERROR_NOT_FOUND:
        return hr::kFileNotFound;
    case GST_RESOURCE_ERROR_OPEN_READ:
    case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
        return hr::kAccessDenied;
    case GST_RESOURCE_ERROR_READ:
        return hr::kReadFault;
    case GST_RESOURCE_ERROR_NO_SPACE_LEFT:
        return hr::kOutOfMemory;
    default:
        return hr::kFail;
    }
}

uint32_t streamCode(int code) {
    switch (code) {
    case GST_STREAM_ERROR_TYPE_NOT_FOUND:
    case GST_STREAM_ERROR_WRONG_TYPE:
    case GST_STREAM_ERROR_CODEC_NOT_FOUND:
        return hr::kUnsupportedStream;
    case GST_STREAM_ERROR_DEMUX:
    case GST_STREAM_ERROR_DECODE:
    case GST_STREAM_ERROR_FORMAT:
        return hr::kInvalidFileFormat;
    default:
        return hr::kFail;
    }
}

} // namespace

uint32_t codeForStreamError(const GError* error) {
    if (!error) {
        return hr::kFail;
    }
    if (error->domain == GST_RESOURCE_ERROR) {
        return resourceCode(error->code);
    }
    if (error->domain == GST_STREAM_ERROR) {
        return streamCode(error->code);
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN) {
        return hr::kUnsupportedStream;
    }
    return hr::kFail;
}

} // namespace clipdeck
