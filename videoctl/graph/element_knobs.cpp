#include "element_knobs.h"

#include "failure_codes.h"

#include <cstring>

namespace clipdeck {

namespace {

struct Knob {
    const char* parameter;
    const char* property;
    int (*translate)(int32_t value);
};

// Multithreading on means as many threads as the machine offers (0), off means one.
int threadsFor(int32_t multiThread) {
    return multiThread ? 0 : 1;
}
int same(int32_t value) {
    return value;
}

constexpr Knob kKnobs[] = {
    {"EMC_MultiThread", "max-threads", threadsFor},
    {"EM2VD_Resolution", "lowres", same},
};

const Knob* knobFor(const char* parameter) {
    for (const Knob& k : kKnobs) {
        if (std::strcmp(k.parameter, parameter) == 0) {
            return &k;
        }
    }
    return nullptr;
}

} // namespace

GParamSpec* ElementKnobs::property(const char* parameter) const {
    const Knob* knob = knobFor(parameter);
    return knob ? g_object_class_find_property(G_OBJECT_GET_CLASS(decoder_), knob->property)
                : nullptr;
}

bool ElementKnobs::offers(const char* parameter) const {
    return property(parameter) != nullptr;
}

uint32_t ElementKnobs::set(const char* parameter, int32_t value) {
    GParamSpec* param = property(parameter);
    if (!param || !(param->flags & G_PARAM_WRITABLE)) {
        return hr::kNoInterface;
    }
    GValue wanted = G_VALUE_INIT;
    g_value_init(&wanted, G_TYPE_INT);
    g_value_set_int(&wanted, knobFor(parameter)->translate(value));
    GValue converted = G_VALUE_INIT;
    g_value_init(&converted, param->value_type);
    uint32_t code = hr::kOk;
    // A value the property cannot hold is refused, not clamped.
    if (!g_value_transform(&wanted, &converted) || g_param_value_validate(param, &converted)) {
        code = hr::kInvalidArg;
    } else {
        g_object_set_property(G_OBJECT(decoder_), param->name, &converted);
    }
    g_value_unset(&converted);
    g_value_unset(&wanted);
    return code;
}

uint32_t ElementKnobs::commit() {
    // Properties take effect when set; there is nothing left to apply.
    return hr::kOk;
}

} // namespace clipdeck
