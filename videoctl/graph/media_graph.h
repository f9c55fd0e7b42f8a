#pragma once
// One media graph (a GstPipeline) for one open file: built by the recipes around the video
// renderer, run, paused and positioned from the control's thread, its position and bus read
// by the control's worker. Positions are in 100-ns units counted from the first frame.

#include "frame_positioner.h"
#include "key_picture_gate.h"
#include "message_text.h"
#include "pad_router.h"
#include "video_renderer.h"

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace clipdeck {

class MediaGraph {
public:
    // `report` shows the messages of the build steps; it is only called from the calls
    // below, on the caller's thread.
    explicit MediaGraph(Reporter report);
    // Stops the pipeline and flushes its bus before releasing it.
    ~MediaGraph();
    MediaGraph(const MediaGraph&) = delete;
    MediaGraph& operator=(const MediaGraph&) = delete;

    // Starts the back end for this process; false when it cannot run here.
    static bool initialise();
    // True when this machine can make the video renderer at all.
    static bool rendererAvailable();

    // The steps of an open, in order; each returns 0 or a failure code.
    uint32_t createPipeline();
    uint32_t addVideoRenderer();
    uint32_t build(const std::string& path, bool avc, bool mpeg);
    // Pauses on the first frame and takes its time as the origin of positions.
    uint32_t cueFirstFrame();

    // Size of the pictures and their display aspect ratio; false before the first picture.
    bool nativeSize(int& width, int& height, double& aspect) const;
    void setFrameListener(std::function<void()> listener);
    // Copies the picture on screen when it changed since `serial`.
    bool copyPicture(uint64_t& serial, FramePixels& out) const;

    uint32_t run();
    // Pauses; a picture shown while playing stays on screen.
    uint32_t pause();
    // Where the last frame ends; measured the first time it is asked for.
    int64_t stopTime();
    // Any thread: the position now; a failure code once the stream has failed.
    uint32_t readPosition(int64_t& position) const;
    // Puts the picture on the frame shown at `position` (clamped to the file), exactly.
    uint32_t seekTo(int64_t position);

    // Worker: waits up to `timeoutMs` on the bus and returns how many ends of stream came.
    int takeEndsOfStream(int timeoutMs);

    // Names of the elements in the pipeline, in the order they were added.
    std::vector<std::string> elementNames() const;
    GstPipeline* pipeline() const { return GST_PIPELINE(pipeline_); }

private:
    static GstBusSyncReply onMessage(GstBus* bus, GstMessage* message, gpointer self);
    uint32_t connectStreams();
    // The code of the error the stream posted, else `fallback`.
    uint32_t failure(uint32_t fallback) const;
    uint32_t settledFailure(uint32_t fallback) const;
    int64_t toPosition(int64_t streamTime) const;
    // Around the positioner's seeks and probes: a seek that lands past the last key picture
    // makes the decoder post an error although a later seek further back succeeds, so the
    // errors posted meanwhile are held aside. `endQuiet` returns the first of them.
    void beginQuiet();
    uint32_t endQuiet();

    Reporter report_;
    GstElement* pipeline_ = nullptr;
    GstBus* bus_ = nullptr;
    std::unique_ptr<VideoRenderer> video_;
    std::unique_ptr<PadRouter> router_;
    std::unique_ptr<FramePositioner> positioner_;
    std::unique_ptr<KeyPictureGate> gate_;
    GstElement* source_ = nullptr;

    std::atomic<uint32_t> streamError_{0};
    std::atomic<bool> quiet_{false};
    std::atomic<uint32_t> quietError_{0};
    std::atomic<bool> running_{false};
    std::atomic<int64_t> heldPosition_{0}; // 100-ns units, while not running
    std::atomic<int64_t> stop_{-1};        // 100-ns units, -1 until measured
    int64_t first_ = 0;                    // the first frame's timestamp, ns
    int64_t duration_ = -1;                // as the back end reports it, ns
};

} // namespace clipdeck
