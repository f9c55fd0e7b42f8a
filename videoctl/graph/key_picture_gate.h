#pragma once
// Holds back the pictures an MPEG-2 decoder cannot decode after a flush: those before the
// first key picture. A seek of the program stream demultiplexer may land after the last key
// picture of the file; the decoder, fed only pictures it cannot decode, then fails at the
// end of the stream ("No valid frames decoded before end of stream") and the pipeline stays
// failed. With the gate it only sees the end of the stream, and the seek lands on nothing.

#include <gst/gst.h>

#include <atomic>

namespace clipdeck {

class KeyPictureGate {
public:
    KeyPictureGate() = default;
    ~KeyPictureGate();
    KeyPictureGate(const KeyPictureGate&) = delete;
    KeyPictureGate& operator=(const KeyPictureGate&) = delete;

    // Guards the input of `decoder`, which has decoded a picture already; false when it has
    // no sink pad.
    bool attach(GstElement* decoder);

private:
    static GstPadProbeReturn onData(GstPad* pad, GstPadProbeInfo* info, gpointer self);

    GstPad* pad_ = nullptr;
    gulong probe_ = 0;
    std::atomic<bool> keySeen_{false};
};

} // namespace clipdeck
