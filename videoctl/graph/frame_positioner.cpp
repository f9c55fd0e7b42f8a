#include "frame_positioner.h"

#include "failure_codes.h"

#include <algorithm>
#include <chrono>

namespace clipdeck {

namespace {

// Timestamps from containers with millisecond or 90 kHz clocks miss exact frame
// boundaries by a little; a frame starting this much after the target still counts.
constexpr int64_t kTolerance = GST_MSECOND;
// How far before the target a seek aims, at first.
constexpr int64_t kSeekLead = GST_SECOND;
// A target at the very end shows the last frame, which starts before the end.
constexpr int64_t kEndMargin = 2 * GST_MSECOND;
constexpr GstClockTime kSettleTimeout = 5 * GST_SECOND;
constexpr int kMaxStepRounds = 8;
constexpr int kMaxEndSearches = 4;
constexpr uint64_t kToTheEnd = 1000000000;

} // namespace

FramePositioner::FramePositioner(GstElement* pipeline, VideoRenderer& video, PadRouter& router)
    : pipeline_(pipeline), video_(video), router_(router) {}

uint32_t FramePositioner::waitSettled() {
    switch (gst_element_get_state(pipeline_, nullptr, nullptr, kSettleTimeout)) {
    case GST_STATE_CHANGE_FAILURE:
        return hr::kFail;
    case GST_STATE_CHANGE_ASYNC:
        return hr::kTimeout;
    default:
        return hr::kOk;
    }
}

void FramePositioner::stepDone(GstObject* source, GstFormat format, uint64_t duration) {
    {
        std::lock_guard lock(stepMutex_);
        if (source == GST_OBJECT(video_.sink())) {
            if (format == GST_FORMAT_BUFFERS) {
                ++videoSteps_;
                videoStepDuration_ = duration;
            }
        } else if (format == GST_FORMAT_TIME) {
            ++audioSteps_;
        }
    }
    stepFinished_.notify_all();
}

uint32_t FramePositioner::seekFlush(int64_t at) {
    const auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE);
    if (!gst_element_seek_simple(pipeline_, GST_FORMAT_TIME, flags, std::max<int64_t>(at, 0))) {
        return hr::kFail;
    }
    return waitSettled();
}

uint32_t FramePositioner::sendStep(GstElement* element, GstEvent* step, const uint64_t& count) {
    std::unique_lock lock(stepMutex_);
    const uint64_t before = count;
    lock.unlock();
    if (!gst_element_send_event(element, step)) {
        return hr::kFail;
    }
    // The sink takes the step up on its own thread; until it has, the graph still looks
    // settled on the old frame.
    lock.lock();
    if (!stepFinished_.wait_for(lock, std::chrono::nanoseconds(kSettleTimeout),
                                [&] { return count != before; })) {
        return hr::kTimeout;
    }
    lock.unlock();
    return waitSettled();
}

uint32_t FramePositioner::stepVideo(uint64_t frames, bool& moved) {
    const uint64_t before = video_.frameCount();
    uint32_t code =
        sendStep(video_.sink(), gst_event_new_step(GST_FORMAT_BUFFERS, frames, 1.0, TRUE, FALSE),
                 videoSteps_);
    moved = video_.frameCount() != before;
    uint64_t skipped = 0;
    {
        std::lock_guard lock(stepMutex_);
        skipped = videoStepDuration_;
    }
    AudioRenderer* audio = router_.activeAudio();
    if (hr::failed(code) || !audio || skipped == 0) {
        return code;
    }
    // The skipped pictures took their running time with them; the sound must lose as much.
    return sendStep(audio->element(),
                    gst_event_new_step(GST_FORMAT_TIME, skipped, 1.0, TRUE, FALSE), audioSteps_);
}

uint32_t FramePositioner::stepTo(int64_t target) {
    for (int round = 0; round < kMaxStepRounds; ++round) {
        const FrameTiming now = video_.newestTiming();
        if (!now.valid || now.end > target + kTolerance) {
            return hr::kOk;
        }
        const auto frames =
            static_cast<uint64_t>((target + kTolerance - now.end) / now.frameInterval + 1);
        // The frame a seek lands on may carry a timestamp a frame off; those after it are
        // right. So the last frame is always stepped to on its own, from a trusted one.
        bool moved = false;
        const uint32_t code = stepVideo(frames > 1 ? frames - 1 : 1, moved);
        if (hr::failed(code) || !moved) {
            return code; // a step past the last frame keeps the last frame on screen
        }
    }
    return hr::kOk;
}

uint32_t FramePositioner::seekBackAndStep(int64_t target) {
    for (int64_t lead = kSeekLead;; lead *= 2) {
        const bool fromStart = target - lead <= first_;
        const uint64_t before = video_.frameCount();
        const uint32_t code = seekFlush(fromStart ? 0 : target - lead);
        if (hr::failed(code)) {
            return code;
        }
        const FrameTiming landed = video_.newestTiming();
        // Away from the start the landing frame must lie two frames or more before the
        // target, so that neither it nor its doubtful timestamp decides what is shown.
        const bool usable = fromStart ? landed.start <= target + kTolerance
                                      : landed.end + landed.frameInterval <= target + kTolerance;
        if (video_.frameCount() != before && landed.valid && usable) {
            return stepTo(target);
        }
        if (fromStart) {
            return hr::kOk;
        }
    }
}

uint32_t FramePositioner::showAt(int64_t target) {
    if (end_ > first_) {
        target = std::min(target, end_ - kEndMargin);
    }
    target = std::max(target, first_);
    const FrameTiming now = video_.newestTiming();
    if (now.valid && now.start <= target + kTolerance) {
        if (now.end > target + kTolerance) {
            return hr::kOk;
        }
        if (target - now.end < kSeekLead) {
            return stepTo(target);
        }
    }
    return seekBackAndStep(target);
}

int64_t FramePositioner::findEnd(int64_t duration) {
    if (duration <= 0) {
        return -1;
    }
    // Demultiplexers report the duration either from the first frame or from zero; aiming
    // from the later of the two and backing off when the seek lands past the end covers both.
    int64_t back = GST_SECOND + GST_SECOND / 2;
    for (int search = 0; search < kMaxEndSearches; ++search, back *= 2) {
        video_.forgetBufferEnd();
        const uint64_t before = video_.frameCount();
        if (hr::failed(seekFlush(first_ + duration - back))) {
            return -1;
        }
        if (video_.frameCount() == before) {
            continue;
        }
        bool moved = false;
        if (hr::failed(stepVideo(kToTheEnd, moved))) {
            return -1;
        }
        return video_.latestBufferEnd();
    }
    return -1;
}

} // namespace clipdeck
