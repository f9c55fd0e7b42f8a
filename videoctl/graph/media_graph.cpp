#include "media_graph.h"

#include "failure_codes.h"
#include "graph_recipes.h"
#include "stream_failure.h"

#include <algorithm>
#include <chrono>
#include <limits>

namespace clipdeck {

namespace {

constexpr GstClockTime kConnectPoll = 50 * GST_MSECOND;
constexpr auto kConnectTimeout = std::chrono::seconds(10);
constexpr int64_t kNsPerUnit = 100;
constexpr int kErrorWaits = 40;
constexpr gulong kErrorWaitUs = 5000;

} // namespace

MediaGraph::MediaGraph(Reporter report) : report_(std::move(report)) {}

MediaGraph::~MediaGraph() {
    if (!pipeline_) {
        return;
    }
    gst_bus_set_flushing(bus_, TRUE);
    gst_element_set_state(pipeline_, GST_STATE_NULL);
    gst_bus_set_sync_handler(bus_, nullptr, nullptr, nullptr);
    gst_object_unref(bus_);
    gst_object_unref(pipeline_);
}

bool MediaGraph::initialise() {
    GError* error = nullptr;
    const bool started = gst_init_check(nullptr, nullptr, &error);
    g_clear_error(&error);
    return started;
}

bool MediaGraph::rendererAvailable() {
    for (const char* name : {"appsink", "videoconvert"}) {
        GstElementFactory* factory = gst_element_factory_find(name);
        if (!factory) {
            return false;
        }
        gst_object_unref(factory);
    }
    return true;
}

uint32_t MediaGraph::createPipeline() {
    pipeline_ = gst_pipeline_new(nullptr);
    if (!pipeline_) {
        return hr::kFail;
    }
    gst_object_ref_sink(pipeline_);
    bus_ = gst_pipeline_get_bus(GST_PIPELINE(pipeline_));
    gst_bus_set_sync_handler(bus_, &MediaGraph::onMessage, this, nullptr);
    return hr::kOk;
}

uint32_t MediaGraph::addVideoRenderer() {
    auto video = std::make_unique<VideoRenderer>();
    if (!video->created()) {
        return hr::kClassNotRegistered;
    }
    if (!gst_bin_add(GST_BIN(pipeline_), video->element())) {
        return hr::kFail;
    }
    video_ = std::move(video);
    router_ = std::make_unique<PadRouter>(GST_BIN(pipeline_), *video_);
    positioner_ = std::make_unique<FramePositioner>(pipeline_, *video_, *router_);
    return hr::kOk;
}

uint32_t MediaGraph::build(const std::string& path, bool avc, bool mpeg) {
    RecipeContext context{GST_BIN(pipeline_), *router_, report_,
                          [this] { return connectStreams(); }};
    return avc ? buildAvcGraph(context, path, source_)
               : buildGeneralGraph(context, path, mpeg, source_);
}

uint32_t MediaGraph::failure(uint32_t fallback) const {
    const uint32_t seen = streamError_.load();
    return seen ? seen : fallback;
}

uint32_t MediaGraph::settledFailure(uint32_t fallback) const {
    // A state change can fail a moment before the element that failed it has posted why.
    for (int wait = 0; wait < kErrorWaits && !streamError_.load(); ++wait) {
        g_usleep(kErrorWaitUs);
    }
    return failure(fallback);
}

uint32_t MediaGraph::connectStreams() {
    if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        return failure(hr::kCannotRender);
    }
    const auto deadline = std::chrono::steady_clock::now() + kConnectTimeout;
    for (;;) {
        const GstStateChangeReturn state =
            gst_element_get_state(pipeline_, nullptr, nullptr, kConnectPoll);
        if (state == GST_STATE_CHANGE_SUCCESS || state == GST_STATE_CHANGE_NO_PREROLL) {
            break;
        }
        if (state == GST_STATE_CHANGE_FAILURE || streamError_.load()) {
            return settledFailure(hr::kCannotRender);
        }
        if (router_->streamsComplete() && !router_->videoFound()) {
            return hr::kCannotRender;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return hr::kTimeout;
        }
    }
    return router_->videoLinked() ? hr::kOk : hr::kCannotRender;
}

uint32_t MediaGraph::cueFirstFrame() {
    if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        return failure(hr::kFail);
    }
    const uint32_t code = positioner_->waitSettled();
    if (hr::failed(code)) {
        return failure(code);
    }
    if (GstElement* decoder = gst_bin_get_by_name(GST_BIN(pipeline_), "MPEG2 Decoder")) {
        auto gate = std::make_unique<KeyPictureGate>();
        if (gate->attach(decoder)) {
            gate_ = std::move(gate);
        }
        gst_object_unref(decoder);
    }
    const FrameTiming firstFrame = video_->newestTiming();
    first_ = firstFrame.valid ? firstFrame.start : 0;
    positioner_->setFirstFrame(first_);
    gint64 duration = -1;
    duration_ = gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) ? duration : -1;
    heldPosition_.store(0);
    running_.store(false);
    return hr::kOk;
}

bool MediaGraph::nativeSize(int& width, int& height, double& aspect) const {
    int parN = 1;
    int parD = 1;
    if (!video_ || !video_->nativeSize(width, height, parN, parD)) {
        return false;
    }
    aspect = static_cast<double>(width) * parN / (static_cast<double>(height) * parD);
    return true;
}

void MediaGraph::setFrameListener(std::function<void()> listener) {
    if (video_) {
        video_->setFrameListener(std::move(listener));
    }
}

bool MediaGraph::copyPicture(uint64_t& serial, FramePixels& out) const {
    return video_ && video_->copyShown(serial, out);
}

uint32_t MediaGraph::run() {
    video_->showNewest();
    if (gst_element_set_state(pipeline_, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        return hr::kFail;
    }
    running_.store(true);
    return hr::kOk;
}

uint32_t MediaGraph::pause() {
    const bool wasRunning = running_.load();
    if (wasRunning) {
        video_->holdPicture();
    }
    if (gst_element_set_state(pipeline_, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        return hr::kFail;
    }
    if (wasRunning) {
        positioner_->waitSettled();
        gint64 streamTime = 0;
        if (gst_element_query_position(video_->sink(), GST_FORMAT_TIME, &streamTime)) {
            heldPosition_.store(toPosition(streamTime));
        }
        running_.store(false);
    }
    return hr::kOk;
}

int64_t MediaGraph::stopTime() {
    if (stop_.load() >= 0) {
        return stop_.load();
    }
    video_->holdPicture();
    beginQuiet();
    int64_t end = positioner_->findEnd(duration_);
    // A probe that found no frame leaves the end as the back end reports it.
    if (end < first_ && duration_ > 0) {
        end = first_ + duration_;
    }
    positioner_->setEnd(end);
    stop_.store(end >= first_ ? (end - first_) / kNsPerUnit
                              : std::numeric_limits<int64_t>::max() / kNsPerUnit);
    const uint32_t code = positioner_->showAt(first_ + heldPosition_.load() * kNsPerUnit);
    // The probe's errors are its own: what it could not decode the stream still plays.
    const uint32_t held = endQuiet();
    if (hr::failed(code)) {
        uint32_t none = 0;
        streamError_.compare_exchange_strong(none, held);
    }
    video_->showNewest();
    return stop_.load();
}

void MediaGraph::beginQuiet() {
    quietError_.store(0);
    quiet_.store(true);
}

uint32_t MediaGraph::endQuiet() {
    quiet_.store(false);
    return quietError_.exchange(0);
}

int64_t MediaGraph::toPosition(int64_t streamTime) const {
    int64_t timestamp = streamTime;
    GstSegment segment;
    guint64 converted = 0;
    if (video_->newestSegment(segment) &&
        gst_segment_position_from_stream_time_full(&segment, GST_FORMAT_TIME, streamTime,
                                                   &converted) != 0) {
        timestamp = static_cast<int64_t>(converted);
    }
    int64_t position = std::max<int64_t>(0, (timestamp - first_) / kNsPerUnit);
    const int64_t stop = stop_.load();
    return stop >= 0 ? std::min(position, stop) : position;
}

uint32_t MediaGraph::readPosition(int64_t& position) const {
    if (const uint32_t code = streamError_.load()) {
        position = heldPosition_.load();
        return code;
    }
    gint64 streamTime = 0;
    if (running_.load() &&
        gst_element_query_position(video_->sink(), GST_FORMAT_TIME, &streamTime)) {
        position = toPosition(streamTime);
    } else {
        position = heldPosition_.load();
    }
    return hr::kOk;
}

uint32_t MediaGraph::seekTo(int64_t position) {
    const bool wasRunning = running_.load();
    if (wasRunning) {
        pause();
    }
    const int64_t target = std::clamp<int64_t>(position, 0, stopTime());
    beginQuiet();
    const uint32_t code = positioner_->showAt(first_ + target * kNsPerUnit);
    const uint32_t held = endQuiet();
    if (hr::failed(code)) {
        uint32_t none = 0;
        streamError_.compare_exchange_strong(none, held);
    }
    video_->showNewest();
    if (!hr::failed(code)) {
        heldPosition_.store(target);
    }
    if (wasRunning) {
        run();
    }
    return code;
}

int MediaGraph::takeEndsOfStream(int timeoutMs) {
    int ends = 0;
    GstClockTime wait = static_cast<GstClockTime>(timeoutMs) * GST_MSECOND;
    while (GstMessage* message = gst_bus_timed_pop_filtered(bus_, wait, GST_MESSAGE_EOS)) {
        gst_message_unref(message);
        ++ends;
        wait = 0;
    }
    return ends;
}

std::vector<std::string> MediaGraph::elementNames() const {
    std::vector<std::string> names;
    if (!pipeline_) {
        return names;
    }
    GST_OBJECT_LOCK(pipeline_);
    for (GList* child = GST_BIN_CHILDREN(pipeline_); child; child = child->next) {
        names.emplace_back(GST_OBJECT_NAME(child->data));
    }
    GST_OBJECT_UNLOCK(pipeline_);
    std::reverse(names.begin(), names.end()); // a bin keeps its newest child first
    return names;
}

GstBusSyncReply MediaGraph::onMessage(GstBus*, GstMessage* message, gpointer self) {
    auto* graph = static_cast<MediaGraph*>(self);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR: {
        GError* error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        uint32_t none = 0;
        std::atomic<uint32_t>& slot =
            graph->quiet_.load() ? graph->quietError_ : graph->streamError_;
        slot.compare_exchange_strong(none, codeForStreamError(error));
        g_clear_error(&error);
        break;
    }
    case GST_MESSAGE_STEP_DONE:
        if (graph->positioner_) {
            GstFormat format = GST_FORMAT_UNDEFINED;
            guint64 amount = 0;
            guint64 duration = 0;
            gdouble rate = 0;
            gboolean flush = FALSE;
            gboolean intermediate = FALSE;
            gboolean eos = FALSE;
            gst_message_parse_step_done(message, &format, &amount, &rate, &flush, &intermediate,
                                        &duration, &eos);
            graph->positioner_->stepDone(GST_MESSAGE_SRC(message), format, duration);
        }
        break;
    default:
        break;
    }
    return GST_BUS_PASS;
}

} // namespace clipdeck
