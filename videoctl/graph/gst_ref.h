#pragma once
// Owning handles for GStreamer references, so that every early return releases them.

#include <gst/gst.h>

#include <memory>

namespace clipdeck {

struct GstObjectUnref {
    void operator()(gpointer object) const { gst_object_unref(object); }
};
struct GstCapsUnref {
    void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
struct GstSampleUnref {
    void operator()(GstSample* sample) const { gst_sample_unref(sample); }
};
struct GstMessageUnref {
    void operator()(GstMessage* message) const { gst_message_unref(message); }
};

template <typename T> using GstObjectRef = std::unique_ptr<T, GstObjectUnref>;
using CapsRef = std::unique_ptr<GstCaps, GstCapsUnref>;
using SampleRef = std::unique_ptr<GstSample, GstSampleUnref>;
using MessageRef = std::unique_ptr<GstMessage, GstMessageUnref>;

// The caps a pad carries now, or those it could carry when none are fixed yet.
inline CapsRef padCaps(GstPad* pad) {
    GstCaps* caps = gst_pad_get_current_caps(pad);
    return CapsRef(caps ? caps : gst_pad_query_caps(pad, nullptr));
}

} // namespace clipdeck
