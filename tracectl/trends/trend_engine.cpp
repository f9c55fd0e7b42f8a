#include "trend_engine.h"

#include "block_trends.h"
#include "line_reader.h"

#include <algorithm>
#include <cmath>

#include <sys/resource.h>
#include <unistd.h>

namespace viewer::trends {

namespace {

constexpr double kBlockSeconds = 300.0;
// The niceness of workers that give way to the window.
constexpr int kWorkerNice = 10;

} // namespace

std::vector<std::pair<int, int>> blockOrder(int segments, double segmentSeconds,
                                            double centreSeconds) {
    const int per = std::max(1, static_cast<int>(std::lround(kBlockSeconds / segmentSeconds)));
    std::vector<std::pair<int, int>> blocks;
    for (int first = 0; first < segments; first += per) {
        blocks.emplace_back(first, std::min(per, segments - first));
    }
    const auto distance = [&](const std::pair<int, int>& b) {
        return std::fabs((b.first + b.second / 2.0) * segmentSeconds - centreSeconds);
    };
    std::stable_sort(blocks.begin(), blocks.end(),
                     [&](const auto& a, const auto& b) { return distance(a) < distance(b); });
    return blocks;
}

TrendEngine::TrendEngine() = default;

TrendEngine::~TrendEngine() { cancel(); }

bool TrendEngine::open(const TrendRequest& request, std::string& error) {
    if (!(request.segmentSeconds >= kMinSegment && request.segmentSeconds <= kMaxSegment)) {
        error = "the segment length must be from 2 to 60 s";
        return false;
    }
    LineReader reader;
    if (!reader.open(request.path, request.montage, error)) {
        return false;
    }
    request_ = request;
    layout_ = TrendData{};
    layout_.segmentSeconds = request.segmentSeconds;
    layout_.rate = reader.rate();
    layout_.frames = reader.frames();
    layout_.segments = segmentCount(reader.frames(), reader.rate(), request.segmentSeconds);
    layout_.montage = request.montage.name;
    layout_.layout = layoutOf(reader.labels(), reader.present());
    layout_.allocate();
    result_ = layout_;
    blocks_ = blockOrder(layout_.segments, request.segmentSeconds, request.centreSeconds);
    return true;
}

void TrendEngine::start(BlockSink sink, Finished finished) {
    sink_ = std::move(sink);
    finished_ = std::move(finished);
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int threads = std::clamp(request_.threads > 0 ? request_.threads : cores, 1,
                                   std::max<int>(1, static_cast<int>(blocks_.size())));
    for (int w = 0; w < threads; ++w) {
        workers_.emplace_back([this, w] { work(w); });
    }
}

void TrendEngine::cancel() {
    stop_ = true;
    wait();
}

void TrendEngine::wait() {
    for (std::thread& t : workers_) {
        if (t.joinable()) {
            t.join();
        }
    }
    workers_.clear();
}

void TrendEngine::work(int) {
    if (request_.yieldToWindow) {
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNice);
    }
    LineReader reader;
    std::string error;
    if (!reader.open(request_.path, request_.montage, error)) {
        return;
    }
    BlockTrends trends(reader, plans_, request_.segmentSeconds);
    for (size_t b = next_++; b < blocks_.size() && !stop_; b = next_++) {
        const BlockResult r = trends.compute(blocks_[b].first, blocks_[b].second);
        if (stop_) {
            return;
        }
        {
            const std::lock_guard lock(resultMutex_);
            result_.merge(r);
        }
        if (sink_) {
            sink_(r);
        }
        if (++finishedBlocks_ == blocks_.size() && finished_) {
            finished_(result_);
        }
    }
}

} // namespace viewer::trends
