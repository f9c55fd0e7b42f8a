#pragma once
// Connects the streams that demultiplexers and decoders announce to the renderers of the
// graph, as the back end's intelligent connect would: through a stream queue, the decoder
// already in the graph that accepts the stream (with a parser in front when it needs one),
// or else a decoder the back end chooses. One stream of each kind is rendered; the others
// are left unconnected.

#include "audio_renderer.h"
#include "video_renderer.h"

#include <gst/gst.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace clipdeck {

class PadRouter {
public:
    PadRouter(GstBin* graph, VideoRenderer& video);
    ~PadRouter();
    PadRouter(const PadRouter&) = delete;
    PadRouter& operator=(const PadRouter&) = delete;

    // Makes the audio renderer for a recipe to add; null when it cannot be created.
    AudioRenderer* makeAudioRenderer();
    // Lets sound make its own audio renderer when it appears (the ASF recipe).
    void makeAudioRendererOnDemand() { audioOnDemand_ = true; }
    // A decoder of the graph to try before any other for the streams it accepts.
    void addDecoder(GstElement* decoder);
    // Routes every stream `element` announces from now on.
    void follow(GstElement* element);

    bool videoLinked() const;
    // True once a video stream has been taken on its way to the renderer.
    bool videoFound() const;
    // True once the first element followed has announced all its streams.
    bool streamsComplete() const { return streamsComplete_.load(); }
    // Takes the audio renderer out of the graph when no sound reached it.
    void removeUnusedAudio();
    // The audio renderer when sound is linked to it, else null.
    AudioRenderer* activeAudio();

private:
    enum class Kind { Video, Audio };

    static void onPadAdded(GstElement* element, GstPad* pad, gpointer self);
    static void onNoMorePads(GstElement* element, gpointer self);
    void route(GstPad* pad);
    GstPad* rendererPad(Kind kind);
    bool linkRaw(GstPad* pad, GstPad* renderer, Kind kind);
    void linkEncoded(GstPad* pad, GstCaps* caps, Kind kind, GstPad* renderer);
    // A new input of the stream queue and its output.
    bool queuePads(GstPad*& in, GstPad*& out);
    // The graph's decoder for the stream, running, and `entry` the pad the stream goes in
    // by (the decoder's own, or its parser's); null when none takes it.
    GstElement* decoderFor(GstCaps* caps, Kind kind, GstPad*& entry);
    GstElement* add(const char* factory, const char* name);

    GstBin* graph_;
    VideoRenderer& video_;
    std::unique_ptr<AudioRenderer> audio_;
    bool audioInGraph_ = false;
    bool audioOnDemand_ = false;
    std::vector<GstElement*> decoders_;
    GstElement* queue_ = nullptr;
    GstElement* firstFollowed_ = nullptr;
    bool claimed_[2] = {false, false};
    std::atomic<bool> streamsComplete_{false};
    mutable std::mutex mutex_;
};

} // namespace clipdeck
