#include "decoder_config.h"

#include "failure_codes.h"

#include <array>

namespace clipdeck {

namespace {

struct Parameter {
    const char* name;
    int32_t value;
};

// The order matters: a refusal stops the settings that follow it.
constexpr std::array<Parameter, 20> kMpeg2Parameters = {{
    {"EMC_Quality", 0},
    {"EMC_PostProcess", 0},
    {"EMC_Deinterlace", 4},
    {"EM2VD_MediaTimeSource", 0},
    {"EM2VD_FormatVideoInfo", 2},
    {"EMC_Brightness", 128},
    {"EMC_HardwareAcceleration", 0},
    {"EM2VD_Resolution", 0},
    {"EM2VD_IDCTPrecision", 0},
    {"EM2VD_DeinterlaceCondition", 0},
    {"EM2VD_HQUpsample", 0},
    {"EM2VD_DoubleRate", 0},
    {"EM2VD_FieldsReordering", 0},
    {"EM2VD_FieldsReorderingCondition", 0},
    {"EMC_MultiThread", 1},
    {"EMC_OSD", 0},
    {"EM2VD_CCubeDecodeOrder", 0},
    {"EMC_ErrorConcealment", 0},
    {"EM2VD_ForceSubpicture", 0},
    {"clsid", 1}, // the unnamed last parameter; its message calls it "clsid"
}};

uint32_t configure(DecoderKnobs& knobs, const Parameter* first, const Parameter* last,
                   const Reporter& report) {
    bool anySet = false;
    for (const Parameter* p = first; p != last; ++p) {
        if (!knobs.offers(p->name)) {
            continue;
        }
        const uint32_t code = knobs.set(p->name, p->value);
        if (hr::failed(code)) {
            report(kMessageCaption,
                   messageText("FAILED(hr=0x%x) in pConfig->SetValue(&%s, &val)\n", code, p->name));
            return code;
        }
        anySet = true;
    }
    if (!anySet) {
        return hr::kOk;
    }
    const uint32_t code = knobs.commit();
    if (hr::failed(code)) {
        report(kMessageCaption,
               messageText("FAILED(hr=0x%x) in pConfig->CommitChanges(&val)\n", code));
    }
    return code;
}

constexpr Parameter kAvcParameters[] = {{"EMC_DeinterlaceMode", 1}};

} // namespace

uint32_t configureMpeg2Decoder(DecoderKnobs& knobs, const Reporter& report) {
    return configure(knobs, kMpeg2Parameters.data(),
                     kMpeg2Parameters.data() + kMpeg2Parameters.size(), report);
}

uint32_t configureAvcDecoder(DecoderKnobs& knobs, const Reporter& report) {
    return configure(knobs, std::begin(kAvcParameters), std::end(kAvcParameters), report);
}

} // namespace clipdeck
