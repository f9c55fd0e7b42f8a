#include "video_renderer.h"

#include "gst_ref.h"

#include <gst/app/gstappsink.h>
#include <gst/video/video.h>

#include <cstring>

namespace clipdeck {

namespace {

constexpr int64_t kDefaultFrameInterval = 40 * GST_MSECOND;

int64_t nominalInterval(GstCaps* caps) {
    int num = 0;
    int den = 0;
    if (caps &&
        gst_structure_get_fraction(gst_caps_get_structure(caps, 0), "framerate", &num, &den) &&
        num > 0 && den > 0) {
        return static_cast<int64_t>(gst_util_uint64_scale_int(GST_SECOND, den, num));
    }
    return 0;
}

} // namespace

VideoRenderer::VideoRenderer() {
    GstElement* convert = gst_element_factory_make("videoconvert", "Color Space Converter");
    GstElement* sink = gst_element_factory_make("appsink", "Video Sink");
    if (!convert || !sink) {
        if (convert) {
            gst_object_unref(gst_object_ref_sink(convert));
        }
        if (sink) {
            gst_object_unref(gst_object_ref_sink(sink));
        }
        return;
    }
    bin_ = GST_ELEMENT(gst_object_ref_sink(gst_bin_new(kName)));
    gst_bin_add_many(GST_BIN(bin_), convert, sink, nullptr);
    gst_element_link(convert, sink);
    sink_ = sink;

    CapsRef caps(gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr));
    gst_app_sink_set_caps(GST_APP_SINK(sink), caps.get());
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = &VideoRenderer::onPreroll;
    callbacks.new_sample = &VideoRenderer::onSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);

    GstObjectRef<GstPad> target(gst_element_get_static_pad(convert, "sink"));
    pad_ = gst_ghost_pad_new("sink", target.get());
    gst_element_add_pad(bin_, pad_);

    GstObjectRef<GstPad> sinkPad(gst_element_get_static_pad(sink, "sink"));
    gst_pad_add_probe(sinkPad.get(), GST_PAD_PROBE_TYPE_BUFFER, &VideoRenderer::onBuffer, this,
                      nullptr);
}

VideoRenderer::~VideoRenderer() {
    if (newest_) {
        gst_sample_unref(newest_);
    }
    if (shown_) {
        gst_sample_unref(shown_);
    }
    if (bin_) {
        gst_object_unref(bin_);
    }
}

void VideoRenderer::setFrameListener(std::function<void()> listener) {
    std::lock_guard lock(mutex_);
    listener_ = std::move(listener);
}

GstFlowReturn VideoRenderer::onPreroll(GstAppSink* sink, gpointer self) {
    static_cast<VideoRenderer*>(self)->take(gst_app_sink_pull_preroll(sink));
    return GST_FLOW_OK;
}

GstFlowReturn VideoRenderer::onSample(GstAppSink* sink, gpointer self) {
    static_cast<VideoRenderer*>(self)->take(gst_app_sink_pull_sample(sink));
    return GST_FLOW_OK;
}

GstPadProbeReturn VideoRenderer::onBuffer(GstPad*, GstPadProbeInfo* info, gpointer self) {
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (buffer && GST_BUFFER_PTS_IS_VALID(buffer)) {
        int64_t end = static_cast<int64_t>(GST_BUFFER_PTS(buffer));
        if (GST_BUFFER_DURATION_IS_VALID(buffer)) {
            end += static_cast<int64_t>(GST_BUFFER_DURATION(buffer));
        }
        auto& latest = static_cast<VideoRenderer*>(self)->latestEnd_;
        int64_t seen = latest.load();
        while (end > seen && !latest.compare_exchange_weak(seen, end)) {
        }
    }
    return GST_PAD_PROBE_OK;
}

void VideoRenderer::take(GstSample* sample) {
    if (!sample) {
        return;
    }
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        if (newest_) {
            gst_sample_unref(newest_);
        }
        newest_ = sample;
        if (!held_) {
            if (shown_) {
                gst_sample_unref(shown_);
            }
            shown_ = gst_sample_ref(sample);
            ++shownSerial_;
            changed = true;
        }
    }
    ++frames_;
    if (changed) {
        notify();
    }
}

void VideoRenderer::notify() {
    std::function<void()> listener;
    {
        std::lock_guard lock(mutex_);
        listener = listener_;
    }
    if (listener) {
        listener();
    }
}

FrameTiming VideoRenderer::newestTiming() const {
    std::lock_guard lock(mutex_);
    FrameTiming timing;
    GstBuffer* buffer = newest_ ? gst_sample_get_buffer(newest_) : nullptr;
    if (!buffer || !GST_BUFFER_PTS_IS_VALID(buffer)) {
        return timing;
    }
    timing.valid = true;
    timing.start = static_cast<int64_t>(GST_BUFFER_PTS(buffer));
    timing.frameInterval = nominalInterval(gst_sample_get_caps(newest_));
    if (timing.frameInterval <= 0) {
        timing.frameInterval = GST_BUFFER_DURATION_IS_VALID(buffer)
                                   ? static_cast<int64_t>(GST_BUFFER_DURATION(buffer))
                                   : kDefaultFrameInterval;
    }
    timing.end = timing.start + (GST_BUFFER_DURATION_IS_VALID(buffer)
                                     ? static_cast<int64_t>(GST_BUFFER_DURATION(buffer))
                                     : timing.frameInterval);
    return timing;
}

bool VideoRenderer::newestSegment(GstSegment& segment) const {
    std::lock_guard lock(mutex_);
    const GstSegment* s = newest_ ? gst_sample_get_segment(newest_) : nullptr;
    if (!s || s->format != GST_FORMAT_TIME) {
        return false;
    }
    gst_segment_copy_into(s, &segment);
    return true;
}

bool VideoRenderer::nativeSize(int& width, int& height, int& parN, int& parD) const {
    std::lock_guard lock(mutex_);
    GstCaps* caps = newest_ ? gst_sample_get_caps(newest_) : nullptr;
    GstVideoInfo info;
    if (!caps || !gst_video_info_from_caps(&info, caps) || info.width <= 0 || info.height <= 0) {
        return false;
    }
    width = info.width;
    height = info.height;
    parN = info.par_n > 0 ? info.par_n : 1;
    parD = info.par_d > 0 ? info.par_d : 1;
    return true;
}

void VideoRenderer::holdPicture() {
    std::lock_guard lock(mutex_);
    held_ = true;
}

void VideoRenderer::showNewest() {
    {
        std::lock_guard lock(mutex_);
        held_ = false;
        if (newest_ == shown_) {
            return;
        }
        if (shown_) {
            gst_sample_unref(shown_);
        }
        shown_ = newest_ ? gst_sample_ref(newest_) : nullptr;
        ++shownSerial_;
    }
    notify();
}

bool VideoRenderer::copyShown(uint64_t& serial, FramePixels& out) const {
    SampleRef sample;
    {
        std::lock_guard lock(mutex_);
        if (serial == shownSerial_) {
            return false;
        }
        serial = shownSerial_;
        if (!shown_) {
            out = FramePixels{};
            return true;
        }
        sample.reset(gst_sample_ref(shown_));
    }
    GstVideoInfo info;
    GstBuffer* buffer = gst_sample_get_buffer(sample.get());
    GstVideoFrame frame;
    if (!buffer || !gst_video_info_from_caps(&info, gst_sample_get_caps(sample.get())) ||
        !gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ)) {
        out = FramePixels{};
        return true;
    }
    out.width = GST_VIDEO_FRAME_WIDTH(&frame);
    out.height = GST_VIDEO_FRAME_HEIGHT(&frame);
    out.stride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    const auto* data = static_cast<const uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    out.bytes.assign(data, data + static_cast<size_t>(out.stride) * out.height);
    gst_video_frame_unmap(&frame);
    return true;
}

} // namespace clipdeck
