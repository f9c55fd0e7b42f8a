#pragma once
// The knobs a GStreamer decoder offers, reached through its properties. Only parameters
// with a property of the same meaning count as offered: "EMC_MultiThread" is
// "max-threads" and "EM2VD_Resolution" is "lowres" on the libav decoders.

#include "decoder_config.h"

#include <gst/gst.h>

namespace clipdeck {

class ElementKnobs : public DecoderKnobs {
public:
    explicit ElementKnobs(GstElement* decoder) : decoder_(decoder) {}

    bool offers(const char* parameter) const override;
    uint32_t set(const char* parameter, int32_t value) override;
    uint32_t commit() override;

private:
    GParamSpec* property(const char* parameter) const;

    GstElement* decoder_;
};

} // namespace clipdeck
