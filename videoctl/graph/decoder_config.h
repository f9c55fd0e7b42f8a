#pragma once
// The decoder settings the recipes make: the MPEG-2 decoder's twenty parameters in their
// order and the AVC decoder's deinterlace mode. Each parameter is a knob the decoder may or
// may not offer; a decoder offering none of them is left as it is.

#include "message_text.h"

#include <cstdint>

namespace clipdeck {

// A decoder's configuration as the recipes see it.
class DecoderKnobs {
public:
    virtual ~DecoderKnobs() = default;
    // True when the decoder has the knob of this parameter.
    virtual bool offers(const char* parameter) const = 0;
    // Sets it; 0 or a failure code.
    virtual uint32_t set(const char* parameter, int32_t value) = 0;
    // Makes the settings take effect; 0 or a failure code.
    virtual uint32_t commit() = 0;
};

// Sets the MPEG-2 decoder's parameters in order, skipping those it lacks, then commits.
// The first refusal shows its message and ends the configuration (nothing after it is set
// and nothing is committed). Returns 0 or that refusal's code.
uint32_t configureMpeg2Decoder(DecoderKnobs& knobs, const Reporter& report);

// The same for the AVC decoder's one parameter, deinterlace mode 1.
uint32_t configureAvcDecoder(DecoderKnobs& knobs, const Reporter& report);

} // namespace clipdeck
