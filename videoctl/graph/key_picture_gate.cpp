#include "key_picture_gate.h"

namespace clipdeck {

KeyPictureGate::~KeyPictureGate() {
    if (pad_) {
        gst_pad_remove_probe(pad_, probe_);
        gst_object_unref(pad_);
    }
}

bool KeyPictureGate::attach(GstElement* decoder) {
    pad_ = gst_element_get_static_pad(decoder, "sink");
    if (!pad_) {
        return false;
    }
    // Attached after the first picture: the pictures on their way follow a key picture.
    keySeen_.store(true);
    probe_ = gst_pad_add_probe(pad_,
                               static_cast<GstPadProbeType>(GST_PAD_PROBE_TYPE_BUFFER |
                                                            GST_PAD_PROBE_TYPE_BUFFER_LIST |
                                                            GST_PAD_PROBE_TYPE_EVENT_FLUSH),
                               &KeyPictureGate::onData, this, nullptr);
    return probe_ != 0;
}

GstPadProbeReturn KeyPictureGate::onData(GstPad*, GstPadProbeInfo* info, gpointer self) {
    auto* gate = static_cast<KeyPictureGate*>(self);
    if (info->type & GST_PAD_PROBE_TYPE_EVENT_FLUSH) {
        if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_FLUSH_STOP) {
            gate->keySeen_.store(false);
        }
        return GST_PAD_PROBE_OK;
    }
    if (gate->keySeen_.load()) {
        return GST_PAD_PROBE_OK;
    }
    GstBuffer* buffer = nullptr;
    if (info->type & GST_PAD_PROBE_TYPE_BUFFER_LIST) {
        GstBufferList* list = GST_PAD_PROBE_INFO_BUFFER_LIST(info);
        buffer = gst_buffer_list_length(list) > 0 ? gst_buffer_list_get(list, 0) : nullptr;
    } else {
        buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    }
    if (buffer && GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DELTA_UNIT)) {
        return GST_PAD_PROBE_DROP;
    }
    gate->keySeen_.store(true);
    return GST_PAD_PROBE_OK;
}

} // namespace clipdeck
