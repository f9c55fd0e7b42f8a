#pragma once
// The values of every montage line over the loaded page, as the traces show them before
// scaling: each sample's line value through the line's filter chain.

#include "filter_bank.h"
#include "recording.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace viewer {

class LineValues {
public:
    // Receives each line's values as soon as they are computed.
    using LineSink = std::function<void(int line, std::span<const float> values)>;

    // Most values kept for line() after a computation: twice what the page buffer holds,
    // enough for every line of any page whose lines are not more than its channels.
    static constexpr size_t kKeptValues = 2 * static_cast<size_t>(kPageBufferValues);

    // Computes, line after line, for every line of the current montage and each of the
    // samplesPerPage frames of the page buffer, in frame order: 0 for a line without input;
    // the line value (of a weighted line: its weighted sum, in steps of its calibration)
    // through the line's filter chain for a line with inputs (unfiltered, and
    // the chain untouched, when an input is electrode 174, 203 or 219); the previous value of
    // the line for an unavailable line (0 throughout). Recordings of fileType 128 and 129 take
    // line i from channel i less the line's zero level. Values are single precision. Lines
    // go to `sink` (when given) in order, each once its values are computed; up to four
    // neighbouring filtered lines are computed together, since their filter chains run
    // faster side by side. The values of all lines are kept for line() when they are at
    // most kKeptValues together; otherwise the storage of at most four lines, and of at
    // most kKeptValues values unless one line is more, is reused, so memory stays bounded
    // whatever the lines and page length.
    void compute(const Recording& rec, FilterBank& filters, const LineSink& sink = {});

    // Whether a computation on `rec` as it is now keeps the values of all its lines.
    static bool keepsAll(const Recording& rec);

    // Values of line `i` from the last computation; empty for a line it did not cover or
    // did not keep.
    std::span<const float> line(int i) const;

    int lines() const { return lines_; }
    uint32_t frames() const { return frames_; }

private:
    std::vector<float> values_;
    std::vector<double> shared_; // the shared sum of weighted lines at each frame
    int lines_ = 0;
    uint32_t frames_ = 0;
    bool kept_ = false;
};

// The record line `i` reads from: its derivation, or in recordings of fileType 128 and 129
// (one line per channel) channel `i` against the line's zero level; a line past the
// channels has no input there.
DerivationRecord lineSource(const Recording& rec, int i);

// True when one input of line `i` is an electrode whose lines are never filtered.
bool bypassesFilters(const MontageRecord& m, int i);

} // namespace viewer
