#pragma once
// The worker of one open file: every poll interval it reads the position while the control
// plays and posts it, and it takes the ends of stream from the graph's bus and posts them.
// It touches no widget: all it tells the control travels as posted events. It leaves its
// loop when the control's state becomes 4 (closing), and its destructor waits for that.

#include <QEvent>
#include <QObject>

#include <atomic>
#include <cstdint>
#include <thread>

namespace clipdeck {
class MediaGraph;
}

class ClipWorker {
public:
    // Starts the thread. `state` is the control's playState; `receiver` gets the events.
    ClipWorker(QObject& receiver, clipdeck::MediaGraph& graph, const std::atomic<int16_t>& state,
               int pollMs);
    // Waits for the thread to end; the owner sets the state to 4 first.
    ~ClipWorker();
    ClipWorker(const ClipWorker&) = delete;
    ClipWorker& operator=(const ClipWorker&) = delete;

private:
    void run();
    void post(QEvent::Type type, uint32_t value = 0);

    QObject& receiver_;
    clipdeck::MediaGraph& graph_;
    const std::atomic<int16_t>& state_;
    const int pollMs_;
    std::atomic<bool> stop_{false};
    bool failureShown_ = false;
    std::thread thread_;
};
