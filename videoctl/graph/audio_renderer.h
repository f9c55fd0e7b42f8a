#pragma once
// The audio renderer of a graph: a bin named "Audio Renderer" that converts and resamples
// any raw audio for the system's audio output (autoaudiosink), or for the sink the
// environment variable VIEWER_AUDIO_SINK names. It waits, locked out of the graph's state
// changes, until an audio stream is linked to it, so that a file without sound still cues.

#include <gst/gst.h>

namespace clipdeck {

class AudioRenderer {
public:
    static constexpr char kName[] = "Audio Renderer";

    AudioRenderer();
    ~AudioRenderer();
    AudioRenderer(const AudioRenderer&) = delete;
    AudioRenderer& operator=(const AudioRenderer&) = delete;

    // False when a part of the renderer cannot be created on this machine.
    bool created() const { return bin_ != nullptr; }
    GstElement* element() const { return bin_; }
    GstPad* sinkPad() const { return pad_; }
    bool linked() const { return pad_ && gst_pad_is_linked(pad_); }

    // Lets the renderer follow the graph's state; called once a stream is linked to it.
    void activate();

private:
    GstElement* bin_ = nullptr;
    GstPad* pad_ = nullptr;
};

} // namespace clipdeck
