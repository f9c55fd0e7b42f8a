#include "audio_renderer.h"

#include "gst_ref.h"

#include <cstdlib>

namespace clipdeck {

namespace {

GstElement* makeOutput() {
    const char* chosen = std::getenv("VIEWER_AUDIO_SINK");
    GstElement* sink =
        gst_element_factory_make(chosen && *chosen ? chosen : "autoaudiosink", "Audio Output");
    // A sink that can play as fast as it likes (fakesink) would race ahead of the picture.
    if (sink && g_object_class_find_property(G_OBJECT_GET_CLASS(sink), "sync")) {
        g_object_set(sink, "sync", TRUE, nullptr);
    }
    return sink;
}

void discard(GstElement* element) {
    if (element) {
        gst_object_unref(gst_object_ref_sink(element));
    }
}

} // namespace

AudioRenderer::AudioRenderer() {
    GstElement* convert = gst_element_factory_make("audioconvert", "Audio Converter");
    GstElement* resample = gst_element_factory_make("audioresample", "Audio Resampler");
    GstElement* output = makeOutput();
    if (!convert || !resample || !output) {
        discard(convert);
        discard(resample);
        discard(output);
        return;
    }
    bin_ = GST_ELEMENT(gst_object_ref_sink(gst_bin_new(kName)));
    gst_bin_add_many(GST_BIN(bin_), convert, resample, output, nullptr);
    gst_element_link_many(convert, resample, output, nullptr);
    GstObjectRef<GstPad> target(gst_element_get_static_pad(convert, "sink"));
    pad_ = gst_ghost_pad_new("sink", target.get());
    gst_element_add_pad(bin_, pad_);
    gst_element_set_locked_state(bin_, TRUE);
}

AudioRenderer::~AudioRenderer() {
    if (bin_) {
        gst_element_set_state(bin_, GST_STATE_NULL);
        gst_object_unref(bin_);
    }
}

void AudioRenderer::activate() {
    gst_element_set_locked_state(bin_, FALSE);
    gst_element_sync_state_with_parent(bin_);
}

} // namespace clipdeck
