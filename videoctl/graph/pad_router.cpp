#include "pad_router.h"

#include "gst_ref.h"

#include <string>

namespace clipdeck {

namespace {

const char* parserFor(const char* media) {
    if (g_str_equal(media, "video/x-h264")) {
        return "h264parse";
    }
    if (g_str_equal(media, "video/mpeg")) {
        return "mpegvideoparse";
    }
    return nullptr;
}

const char* parserName(const char* factory) {
    return g_str_equal(factory, "h264parse") ? "AVC Parser" : "MPEG2 Video Parser";
}

bool isUnlinkedSink(GstElement* element, GstPad** pad) {
    *pad = gst_element_get_static_pad(element, "sink");
    if (*pad && !gst_pad_is_linked(*pad)) {
        return true;
    }
    if (*pad) {
        gst_object_unref(*pad);
        *pad = nullptr;
    }
    return false;
}

} // namespace

PadRouter::PadRouter(GstBin* graph, VideoRenderer& video) : graph_(graph), video_(video) {}

PadRouter::~PadRouter() = default;

AudioRenderer* PadRouter::makeAudioRenderer() {
    std::lock_guard lock(mutex_);
    auto renderer = std::make_unique<AudioRenderer>();
    if (!renderer->created()) {
        return nullptr;
    }
    audio_ = std::move(renderer);
    return audio_.get();
}

void PadRouter::addDecoder(GstElement* decoder) {
    std::lock_guard lock(mutex_);
    decoders_.push_back(decoder);
}

void PadRouter::follow(GstElement* element) {
    {
        std::lock_guard lock(mutex_);
        if (!firstFollowed_) {
            firstFollowed_ = element;
        }
    }
    g_signal_connect(element, "pad-added", G_CALLBACK(&PadRouter::onPadAdded), this);
    g_signal_connect(element, "no-more-pads", G_CALLBACK(&PadRouter::onNoMorePads), this);
}

bool PadRouter::videoLinked() const {
    std::lock_guard lock(mutex_);
    return gst_pad_is_linked(video_.sinkPad());
}

bool PadRouter::videoFound() const {
    std::lock_guard lock(mutex_);
    return claimed_[0] || gst_pad_is_linked(video_.sinkPad());
}

AudioRenderer* PadRouter::activeAudio() {
    std::lock_guard lock(mutex_);
    return audio_ && audio_->linked() ? audio_.get() : nullptr;
}

void PadRouter::removeUnusedAudio() {
    std::lock_guard lock(mutex_);
    if (!audio_ || audio_->linked() || GST_OBJECT_PARENT(audio_->element()) != GST_OBJECT(graph_)) {
        return;
    }
    gst_element_set_state(audio_->element(), GST_STATE_NULL);
    gst_bin_remove(graph_, audio_->element());
}

void PadRouter::onPadAdded(GstElement*, GstPad* pad, gpointer self) {
    static_cast<PadRouter*>(self)->route(pad);
}

void PadRouter::onNoMorePads(GstElement* element, gpointer self) {
    auto* router = static_cast<PadRouter*>(self);
    std::lock_guard lock(router->mutex_);
    if (element == router->firstFollowed_) {
        router->streamsComplete_.store(true);
    }
}

GstPad* PadRouter::rendererPad(Kind kind) {
    if (kind == Kind::Video) {
        return video_.sinkPad();
    }
    if (!audio_ && audioOnDemand_) {
        auto renderer = std::make_unique<AudioRenderer>();
        if (renderer->created() && gst_bin_add(graph_, renderer->element())) {
            audio_ = std::move(renderer);
        }
    }
    if (!audio_ || GST_OBJECT_PARENT(audio_->element()) != GST_OBJECT(graph_)) {
        return nullptr;
    }
    return audio_->sinkPad();
}

void PadRouter::route(GstPad* pad) {
    if (GST_PAD_DIRECTION(pad) != GST_PAD_SRC) {
        return;
    }
    CapsRef caps = padCaps(pad);
    if (!caps || gst_caps_is_empty(caps.get()) || gst_caps_is_any(caps.get())) {
        return;
    }
    const char* media = gst_structure_get_name(gst_caps_get_structure(caps.get(), 0));
    Kind kind;
    if (g_str_has_prefix(media, "video/")) {
        kind = Kind::Video;
    } else if (g_str_has_prefix(media, "audio/")) {
        kind = Kind::Audio;
    } else {
        return;
    }
    std::lock_guard lock(mutex_);
    GstPad* renderer = rendererPad(kind);
    if (!renderer || gst_pad_is_linked(renderer)) {
        return;
    }
    if (g_str_equal(media, "video/x-raw") || g_str_equal(media, "audio/x-raw")) {
        linkRaw(pad, renderer, kind);
        return;
    }
    bool& claimed = claimed_[kind == Kind::Video ? 0 : 1];
    if (!claimed) {
        claimed = true;
        linkEncoded(pad, caps.get(), kind, renderer);
    }
}

bool PadRouter::linkRaw(GstPad* pad, GstPad* renderer, Kind kind) {
    if (!gst_pad_can_link(pad, renderer)) {
        return false;
    }
    // The renderer runs before data can reach it; a stream pushed into a stopped element
    // would be refused for good.
    if (kind == Kind::Audio) {
        audio_->activate();
    }
    return GST_PAD_LINK_SUCCESSFUL(gst_pad_link(pad, renderer));
}

GstElement* PadRouter::add(const char* factory, const char* name) {
    GstElement* element = gst_element_factory_make(factory, name);
    if (element && !gst_bin_add(graph_, element)) {
        return nullptr;
    }
    return element;
}

bool PadRouter::queuePads(GstPad*& in, GstPad*& out) {
    if (!queue_) {
        queue_ = add("multiqueue", "Stream Queue");
        if (!queue_) {
            return false;
        }
        gst_element_sync_state_with_parent(queue_);
    }
    in = gst_element_request_pad_simple(queue_, "sink_%u");
    if (!in) {
        return false;
    }
    std::string outName = GST_PAD_NAME(in);
    outName.replace(0, 4, "src");
    out = gst_element_get_static_pad(queue_, outName.c_str());
    return out != nullptr;
}

GstElement* PadRouter::decoderFor(GstCaps* caps, Kind kind, GstPad*& entry) {
    const char* media = gst_structure_get_name(gst_caps_get_structure(caps, 0));
    for (GstElement* decoder : decoders_) {
        GstPad* input = nullptr;
        if (!isUnlinkedSink(decoder, &input)) {
            continue;
        }
        // Streams can appear while the graph is still starting its elements, this decoder
        // perhaps not yet among them.
        gst_element_sync_state_with_parent(decoder);
        // Demultiplexers hand out elementary streams in arbitrary pieces; decoders want whole
        // pictures, which the parser makes. Streams without a parser go straight in.
        const char* parserFactory = kind == Kind::Video ? parserFor(media) : nullptr;
        if (!parserFactory) {
            if (gst_pad_query_accept_caps(input, caps)) {
                entry = input;
                return decoder;
            }
            gst_object_unref(input);
            continue;
        }
        gst_object_unref(input);
        GstElement* parser = add(parserFactory, parserName(parserFactory));
        if (!parser) {
            continue;
        }
        if (gst_element_link(parser, decoder)) {
            gst_element_sync_state_with_parent(parser);
            entry = gst_element_get_static_pad(parser, "sink");
            return decoder;
        }
        gst_bin_remove(graph_, parser);
    }
    return nullptr;
}

void PadRouter::linkEncoded(GstPad* pad, GstCaps* caps, Kind kind, GstPad* renderer) {
    GstPad* queueIn = nullptr;
    GstPad* queueOut = nullptr;
    const bool queued = queuePads(queueIn, queueOut);
    GstObjectRef<GstPad> in(queueIn);
    GstObjectRef<GstPad> out(queueOut);
    if (!queued) {
        return;
    }
    // Everything downstream runs before the stream is linked to it, from the renderer up.
    GstPad* entryPad = nullptr;
    if (GstElement* decoder = decoderFor(caps, kind, entryPad)) {
        GstObjectRef<GstPad> output(gst_element_get_static_pad(decoder, "src"));
        if (!output || !gst_pad_can_link(output.get(), renderer)) {
            gst_object_unref(entryPad);
            return;
        }
        if (kind == Kind::Audio) {
            audio_->activate();
        }
        gst_pad_link(output.get(), renderer);
    } else {
        // No decoder of the graph takes the stream: the back end chooses one, whose decoded
        // stream then comes back through route().
        GstElement* chosen =
            add("decodebin", kind == Kind::Video ? "Video Decoder" : "Audio Decoder");
        if (!chosen) {
            return;
        }
        g_signal_connect(chosen, "pad-added", G_CALLBACK(&PadRouter::onPadAdded), this);
        gst_element_sync_state_with_parent(chosen);
        entryPad = gst_element_get_static_pad(chosen, "sink");
    }
    GstObjectRef<GstPad> entry(entryPad);
    if (GST_PAD_LINK_SUCCESSFUL(gst_pad_link(out.get(), entry.get()))) {
        gst_pad_link(pad, in.get());
    }
}

} // namespace clipdeck
