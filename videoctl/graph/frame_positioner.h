#pragma once
// Puts a paused graph on the exact frame shown at a given time. Demultiplexer seeks are
// not frame-accurate (the MPEG program stream demultiplexer lands up to a second late), so
// it seeks to a second or more before the target, then steps frame by frame onto it. Each
// video step is followed by an equal step of the audio renderer, so that sound and picture
// stay together when playing resumes.

#include "pad_router.h"
#include "video_renderer.h"

#include <gst/gst.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace clipdeck {

class FramePositioner {
public:
    FramePositioner(GstElement* pipeline, VideoRenderer& video, PadRouter& router);

    // Times on the stream's clock, nanoseconds: the first frame's timestamp and the end of
    // the last frame (-1 while unknown).
    void setFirstFrame(int64_t start) { first_ = start; }
    void setEnd(int64_t end) { end_ = end; }

    // Shows the frame on screen at `target`: the last one starting at or before it, or the
    // first frame for a target before it, or the last frame for one past the end. The graph
    // must be paused. Returns 0 or the failure code of the seek or step the back end refused.
    uint32_t showAt(int64_t target);

    // Finds where the last frame ends by playing out the last stretch of the file without
    // showing it, starting near `duration` as the back end reports it. -1 when that fails.
    // The graph is left anywhere; show a frame afterwards.
    int64_t findEnd(int64_t duration);

    // Waits until the graph has settled after a state change, seek or step.
    uint32_t waitSettled();

    // Told by the bus of every finished step; runs on the thread that posted it.
    void stepDone(GstObject* source, GstFormat format, uint64_t duration);

private:
    uint32_t seekFlush(int64_t at);
    // Sends a step to `element` and waits until a sink has finished it; `count` counts the
    // steps finished so far of the kind awaited.
    uint32_t sendStep(GstElement* element, GstEvent* step, const uint64_t& count);
    uint32_t stepVideo(uint64_t frames, bool& moved);
    uint32_t stepTo(int64_t target);
    uint32_t seekBackAndStep(int64_t target);

    GstElement* pipeline_;
    VideoRenderer& video_;
    PadRouter& router_;
    int64_t first_ = 0;
    int64_t end_ = -1;
    // Steps finished by the video sink and by the audio output, and the running time the
    // last video step skipped; guarded by stepMutex_.
    std::mutex stepMutex_;
    std::condition_variable stepFinished_;
    uint64_t videoSteps_ = 0;
    uint64_t audioSteps_ = 0;
    uint64_t videoStepDuration_ = 0;
};

} // namespace clipdeck
