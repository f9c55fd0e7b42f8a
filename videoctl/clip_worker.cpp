#include "clip_worker.h"

#include "clip_event.h"
#include "failure_codes.h"
#include "media_graph.h"

#include <QCoreApplication>

ClipWorker::ClipWorker(QObject& receiver, clipdeck::MediaGraph& graph,
                       const std::atomic<int16_t>& state, int pollMs)
    : receiver_(receiver), graph_(graph), state_(state), pollMs_(pollMs),
      thread_([this] { run(); }) {}

ClipWorker::~ClipWorker() {
    stop_.store(true);
    thread_.join();
}

void ClipWorker::post(QEvent::Type type, uint32_t value) {
    QCoreApplication::postEvent(&receiver_, new ClipEvent(type, value));
}

void ClipWorker::run() {
    while (!stop_.load()) {
        const int16_t state = state_.load();
        if (state == 4) {
            stop_.store(true); // this round still finishes
        }
        if (state == 2) {
            int64_t position = 0;
            const uint32_t code = graph_.readPosition(position);
            if (!clipdeck::hr::failed(code)) {
                const double seconds = static_cast<double>(position) * 1e-7;
                post(ClipEvent::kPosition, eventMilliseconds(seconds * 1000));
            } else if (!failureShown_) {
                failureShown_ = true;
                post(ClipEvent::kFailure, code);
            }
        }
        for (int ends = graph_.takeEndsOfStream(pollMs_); ends > 0; --ends) {
            post(ClipEvent::kComplete);
        }
    }
}
