#pragma once
// Computes the trends of a whole recording on worker threads: the recording is cut into
// blocks of consecutive segments (about five minutes each), taken by the workers nearest
// the requested time first, each read in large sequential reads by a reader of the worker's
// own. Cancellable at any moment; nothing here touches a widget.

#include "trend_data.h"
#include "welch.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace viewer::trends {

struct TrendRequest {
    std::string path;
    TrendMontage montage;
    double segmentSeconds = 10.0;
    double centreSeconds = 0.0; // blocks nearest this time come first
    int threads = 0;            // workers; 0: one per core
    bool yieldToWindow = false; // workers run at a lower priority than the program's window
};

class TrendEngine {
public:
    // Gets each block as it is computed, on the worker thread that computed it.
    using BlockSink = std::function<void(const BlockResult&)>;
    // Gets the complete trends once every block is computed (not after a cancel), on the
    // worker thread that computed the last block.
    using Finished = std::function<void(const TrendData&)>;

    TrendEngine();
    ~TrendEngine();
    TrendEngine(const TrendEngine&) = delete;
    TrendEngine& operator=(const TrendEngine&) = delete;

    // Opens the recording and lays the trends out (segments, lines, regions, pairs). False,
    // with `error` said, when the recording does not open, or the segment length is outside
    // 2..60 s.
    bool open(const TrendRequest& request, std::string& error);
    // The trends as laid out by open(), nothing computed: what a display starts from.
    const TrendData& layout() const { return layout_; }

    // Starts the workers (after a successful open(), once).
    void start(BlockSink sink, Finished finished);
    // Stops the workers after the block each is computing and waits for them.
    void cancel();
    // Waits for the workers to finish.
    void wait();
    // The trends computed so far (complete after wait() unless cancelled); only to be read
    // once the workers are done.
    const TrendData& result() const { return result_; }
    bool cancelled() const { return stop_.load(); }

private:
    void work(int worker);

    TrendRequest request_;
    TrendData layout_;
    TrendData result_;
    std::vector<std::pair<int, int>> blocks_; // first segment, count; nearest first
    std::atomic<size_t> next_{0};
    std::atomic<size_t> finishedBlocks_{0};
    std::atomic<bool> stop_{false};
    std::mutex resultMutex_;
    FftPlans plans_; // shared by the workers, one plan per window length
    BlockSink sink_;
    Finished finished_;
    std::vector<std::thread> workers_;
};

// Blocks of about five minutes of segments, [first, count), nearest `centreSeconds` first.
std::vector<std::pair<int, int>> blockOrder(int segments, double segmentSeconds,
                                            double centreSeconds);

} // namespace viewer::trends
