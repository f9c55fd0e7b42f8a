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
    if (GST_PAD_LINK_FAILED(gst_pad_link(pad, renderer))) {
        return false;
    }
    if (kind == Kind::Audio) {
        audio_->activate();
    }
    return true;
}

GstElement* PadRouter::add(const char* factory, const char* name) {
    GstElement* element = gst_element_factory_make(factory, name);
    if (element && !gst_bin_add(graph_, element)) {
        return nullptr;
    }
    return element;
}

GstPad* PadRouter::queuedPad(GstPad* pad) {
    if (!queue_) {
        queue_ = add("multiqueue", "Stream Queue");
        if (!queue_) {
            return nullptr;
        }
        gst_element_sync_state_with_parent(queue_);
    }
    GstPad* in = gst_element_request_pad_simple(queue_, "sink_%u");
    if (!in) {
        return nullptr;
    }
    std::string outName = GST_PAD_NAME(in);
    outName.replace(0, 4, "src");
    GstPad* out = gst_element_get_static_pad(queue_, outName.c_str());
    if (!out || GST_PAD_LINK_FAILED(gst_pad_link(pad, in))) {
        if (out) {
            gst_object_unref(out);
        }
        out = nullptr;
    }
    gst_object_unref(in);
    return out;
}

GstElement* PadRouter::linkToDecoder(GstPad* source, GstCaps* caps, Kind kind) {
    const char* media = gst_structure_get_name(gst_caps_get_structure(caps, 0));
    for (GstElement* decoder : decoders_) {
        GstPad* input = nullptr;
        if (!isUnlinkedSink(decoder, &input)) {
            continue;
        }
        GstObjectRef<GstPad> inputRef(input);
        // Demultiplexers hand out elementary streams in arbitrary pieces; decoders want whole
        // pictures, which the parser makes. Streams without a parser go straight in.
        const char* parserFactory = kind == Kind::Video ? parserFor(media) : nullptr;
        if (!parserFactory) {
            if (gst_pad_query_accept_caps(input, caps) &&
                GST_PAD_LINK_SUCCESSFUL(gst_pad_link(source, input))) {
                return decoder;
            }
            continue;
        }
        GstElement* parser = add(parserFactory, parserName(parserFactory));
        if (!parser) {
            continue;
        }
        GstObjectRef<GstPad> parserIn(gst_element_get_static_pad(parser, "sink"));
        if (gst_element_link(parser, decoder) &&
            GST_PAD_LINK_SUCCESSFUL(gst_pad_link(source, parserIn.get()))) {
            gst_element_sync_state_with_parent(parser);
            return decoder;
        }
        gst_element_unlink(parser, decoder);
        gst_bin_remove(graph_, parser);
    }
    return nullptr;
}

void PadRouter::linkEncoded(GstPad* pad, GstCaps* caps, Kind kind, GstPad* renderer) {
    GstObjectRef<GstPad> queued(queuedPad(pad));
    if (!queued) {
        return;
    }
    if (GstElement* decoder = linkToDecoder(queued.get(), caps, kind)) {
        GstObjectRef<GstPad> output(gst_element_get_static_pad(decoder, "src"));
        if (output && GST_PAD_LINK_SUCCESSFUL(gst_pad_link(output.get(), renderer)) &&
            kind == Kind::Audio) {
            audio_->activate();
        }
        return;
    }
    // No decoder of the graph takes the stream: the back end chooses one, whose decoded
    // stream then comes back through route().
    GstElement* chosen = add("decodebin", kind == Kind::Video ? "Video Decoder" : "Audio Decoder");
    if (!chosen) {
        return;
    }
    g_signal_connect(chosen, "pad-added", G_CALLBACK(&PadRouter::onPadAdded), this);
    GstObjectRef<GstPad> input(gst_element_get_static_pad(chosen, "sink"));
    gst_pad_link(queued.get(), input.get());
    gst_element_sync_state_with_parent(chosen);
}

} // namespace clipdeck
