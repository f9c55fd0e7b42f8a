#pragma once
// Reads the lines of a montage over a stretch of a recording, in microvolts, from a
// recording opened read-only for this reader alone (never the control's page buffer).

#include "trend_lines.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace viewer {
struct Recording;
}

namespace viewer::trends {

class LineReader {
public:
    LineReader();
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Opens `path` through the recording model's open function and puts `montage` in force
    // (the lines' own settings are not used: trends take the lines unfiltered). False, with
    // `error` said, when the file does not open or has no frames.
    bool open(const std::string& path, const TrendMontage& montage, std::string& error);

    int lineCount() const { return static_cast<int>(labels_.size()); }
    const std::vector<std::string>& labels() const { return labels_; }
    // True for a line whose electrodes the recording has.
    const std::vector<bool>& present() const { return present_; }
    double rate() const { return rate_; }
    int64_t frames() const { return frames_; }

    // Frames [first, first + count) of every line in µV into out[line] (each resized to
    // count), read a page buffer at a time in file order. Frames past the end, and lines
    // not present, read as 0.
    void read(int64_t first, int64_t count, std::vector<std::vector<float>>& out);

private:
    void convert(uint32_t frames, std::vector<std::vector<float>>& out, size_t at);

    std::unique_ptr<Recording> rec_;
    std::vector<std::string> labels_;
    std::vector<bool> present_;
    std::vector<double> scale_;
    double rate_ = 0.0;
    int64_t frames_ = 0;
};

} // namespace viewer::trends
