#include "line_values.h"

#include "derivations.h"
#include "page_length.h"

#include <algorithm>
#include <array>

namespace viewer {

namespace {

bool unfiltered(uint16_t code) { return code == 174 || code == 203 || code == 219; }

} // namespace

DerivationRecord lineSource(const Recording& rec, int i) {
    DerivationRecord r = rec.derivations[i];
    const uint16_t fileType = rec.header.fileType;
    const bool linePerChannel = fileType == 128 || fileType == 129;
    if (linePerChannel && r.kind != kNoInput && r.kind != kUnavailable) {
        if (i < rec.header.numChannels) {
            r.kind = kInputAOnly;
            r.channelA = static_cast<int16_t>(i);
        } else {
            r.kind = kNoInput;
        }
    }
    return r;
}

bool bypassesFilters(const MontageRecord& m, int i) {
    return unfiltered(m.inputA[i]) || unfiltered(m.inputB[i]);
}

namespace {

// Lines filtered side by side at most.
constexpr int kSideBySide = 4;

// Runs N lines' frames through their own filter chains side by side. Each chain is a
// recurrence whose every step waits on the one before, so lines filtered in turn leave the
// processor waiting; side by side their steps overlap. Each line gets exactly the operations
// it gets alone. The chains are copied in and out so that their state stays in registers.
template <int N>
void filterSideBySide(const DerivationRecord* r, LineFilter* const* chains, float* const* out,
                      const int32_t* frame, uint32_t frames, int channels) {
    std::array<LineFilter, N> chain;
    for (int j = 0; j < N; ++j) {
        chain[j] = *chains[j];
    }
    for (uint32_t f = 0; f < frames; ++f, frame += channels) {
        for (int j = 0; j < N; ++j) {
            out[j][f] =
                static_cast<float>(chain[j].step(static_cast<double>(lineValue(r[j], frame))));
        }
    }
    for (int j = 0; j < N; ++j) {
        *chains[j] = chain[j];
    }
}

} // namespace

void LineValues::compute(const Recording& rec, FilterBank& filters, const LineSink& sink) {
    const MontageRecord& m = rec.currentMontage;
    const bool loaded = rec.isOpen() && !rec.pageBuffer.empty();
    lines_ = loaded ? std::min<int>(m.numLines, kMaxLines) : 0;
    frames_ = loaded ? std::min(rec.samplesPerPage, framesThatFit(rec)) : 0;
    kept_ = static_cast<size_t>(lines_) * frames_ <= kKeptValues;
    // Lines not kept are computed in a scratch of a few lines, within kKeptValues values.
    const size_t fitting = frames_ == 0 ? kSideBySide : kKeptValues / frames_;
    const int group =
        kept_ ? kSideBySide : static_cast<int>(std::clamp<size_t>(fitting, 1, kSideBySide));
    values_.resize(static_cast<size_t>(kept_ ? lines_ : group) * frames_);
    const int channels = rec.header.numChannels;
    const int32_t* frames = rec.pageBuffer.data();
    const auto filtered = [&](int line) {
        const uint8_t kind = lineSource(rec, line).kind;
        return kind != kNoInput && kind != kUnavailable && !bypassesFilters(m, line);
    };
    for (int i = 0; i < lines_;) {
        // Line i alone, or with the filtered lines that follow it side by side.
        int n = 1;
        while (filtered(i) && n < group && i + n < lines_ && filtered(i + n)) {
            ++n;
        }
        std::array<DerivationRecord, kSideBySide> r{};
        std::array<LineFilter*, kSideBySide> chains{};
        std::array<float*, kSideBySide> out{};
        for (int j = 0; j < n; ++j) {
            r[j] = lineSource(rec, i + j);
            chains[j] = &filters.line(i + j);
            out[j] = values_.data() + static_cast<size_t>(kept_ ? i + j : j) * frames_;
        }
        if (!filtered(i)) {
            const std::span<float> line(out[0], frames_);
            const int32_t* frame = frames;
            if (r[0].kind == kNoInput || r[0].kind == kUnavailable) {
                // 0 throughout: no input, or no value to carry forward
                std::fill(line.begin(), line.end(), 0.0f);
            } else {
                for (float& v : line) {
                    v = static_cast<float>(lineValue(r[0], frame));
                    frame += channels;
                }
            }
        } else if (n == 4) {
            filterSideBySide<4>(r.data(), chains.data(), out.data(), frames, frames_, channels);
        } else if (n == 3) {
            filterSideBySide<3>(r.data(), chains.data(), out.data(), frames, frames_, channels);
        } else if (n == 2) {
            filterSideBySide<2>(r.data(), chains.data(), out.data(), frames, frames_, channels);
        } else {
            filterSideBySide<1>(r.data(), chains.data(), out.data(), frames, frames_, channels);
        }
        for (int j = 0; j < n && sink; ++j) {
            sink(i + j, std::span<const float>(out[j], frames_));
        }
        i += n;
    }
}

std::span<const float> LineValues::line(int i) const {
    if (i < 0 || i >= lines_ || !kept_) {
        return {};
    }
    return {values_.data() + static_cast<size_t>(i) * frames_, frames_};
}

} // namespace viewer
