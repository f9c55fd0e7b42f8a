#pragma once
// The video renderer of a graph: a bin named "Video Mixing Renderer 9" that converts any
// raw video to BGRx and hands each frame to an appsink. It keeps the newest frame the sink
// received and the frame on screen, which differ only while a paused picture is held.

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace clipdeck {

// One BGRx picture, rows of `stride` bytes.
struct FramePixels {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<uint8_t> bytes;
};

// Times of the newest frame, nanoseconds on the stream's own clock.
struct FrameTiming {
    bool valid = false;
    int64_t start = 0;         // its timestamp
    int64_t end = 0;           // start + its duration (where the next frame begins)
    int64_t frameInterval = 0; // one frame at the stream's nominal rate
};

class VideoRenderer {
public:
    static constexpr char kName[] = "Video Mixing Renderer 9";

    VideoRenderer();
    ~VideoRenderer();
    VideoRenderer(const VideoRenderer&) = delete;
    VideoRenderer& operator=(const VideoRenderer&) = delete;

    // False when a part of the renderer cannot be created on this machine.
    bool created() const { return bin_ != nullptr; }
    GstElement* element() const { return bin_; }
    GstElement* sink() const { return sink_; }
    GstPad* sinkPad() const { return pad_; }

    // Called on a streaming thread whenever the picture on screen changes.
    void setFrameListener(std::function<void()> listener);

    uint64_t frameCount() const { return frames_.load(); }
    FrameTiming newestTiming() const;
    // The segment the newest frame was played in; false before the first frame.
    bool newestSegment(GstSegment& segment) const;
    // Width, height and pixel aspect ratio of the newest frame; false before the first.
    bool nativeSize(int& width, int& height, int& parN, int& parD) const;
    // End of the latest buffer that reached the sink, dropped ones included; -1 for none.
    int64_t latestBufferEnd() const { return latestEnd_.load(); }
    void forgetBufferEnd() { latestEnd_.store(-1); }

    // While held, new frames do not replace the one on screen.
    void holdPicture();
    // Puts the newest frame on screen and ends a hold.
    void showNewest();
    // Copies the frame on screen into `out` when its serial differs from `serial`.
    bool copyShown(uint64_t& serial, FramePixels& out) const;

private:
    static GstFlowReturn onPreroll(GstAppSink* sink, gpointer self);
    static GstFlowReturn onSample(GstAppSink* sink, gpointer self);
    static GstPadProbeReturn onBuffer(GstPad* pad, GstPadProbeInfo* info, gpointer self);
    void take(GstSample* sample);
    void notify();

    GstElement* bin_ = nullptr;
    GstElement* sink_ = nullptr;
    GstPad* pad_ = nullptr;

    mutable std::mutex mutex_;
    GstSample* newest_ = nullptr;
    GstSample* shown_ = nullptr;
    uint64_t shownSerial_ = 0;
    bool held_ = false;
    std::function<void()> listener_;
    std::atomic<uint64_t> frames_{0};
    std::atomic<int64_t> latestEnd_{-1};
};

} // namespace clipdeck
