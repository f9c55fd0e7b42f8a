#include "line_values.h"

#include "derivations.h"
#include "filter_pair.h"
#include "page_length.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

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

// Line i's value at each frame through its own filter chain, one line alone.
void filterLine(const DerivationRecord& r, LineFilter& chain, float* out, const int32_t* frame,
                uint32_t frames, int channels) {
    for (uint32_t f = 0; f < frames; ++f, frame += channels) {
        out[f] = static_cast<float>(chain.step(static_cast<double>(lineValue(r, frame))));
    }
}

// 2 x P lines at once, each pair through a FilterPair (see there): the same values as each
// line alone. Two pairs side by side overlap their recurrences once more.
template <int P>
void filterPairs(const DerivationRecord* r, LineFilter* const* chains, float* const* out,
                 const int32_t* frame, uint32_t frames, int channels) {
#if defined(__SSE2__)
    std::array<FilterPair, P> pairs = [&]<size_t... p>(std::index_sequence<p...>) {
        return std::array<FilterPair, P>{FilterPair(*chains[2 * p], *chains[2 * p + 1])...};
    }
    (std::make_index_sequence<P>());
    for (uint32_t f = 0; f < frames; ++f, frame += channels) {
        for (int p = 0; p < P; ++p) {
            const auto a = static_cast<double>(lineValue(r[2 * p], frame));
            const auto b = static_cast<double>(lineValue(r[2 * p + 1], frame));
            const __m128d z = pairs[p].step(_mm_set_pd(b, a));
            out[2 * p][f] = static_cast<float>(_mm_cvtsd_f64(z));
            out[2 * p + 1][f] = static_cast<float>(_mm_cvtsd_f64(_mm_unpackhi_pd(z, z)));
        }
    }
    for (FilterPair& pair : pairs) {
        pair.finish();
    }
#else
    for (int j = 0; j < 2 * P; ++j) {
        filterLine(r[j], *chains[j], out[j], frame, frames, channels);
    }
#endif
}

// Neighbouring lines computed together: line `first` alone, or with the filtered lines that
// follow it side by side.
struct LineGroup {
    int first = 0;
    int count = 1;
    bool filtered = false;
};

// The frames of page-buffer rows that are read for every group before the next rows: the
// rows then stay in the processor's cache while all lines read them.
constexpr size_t kBlockBytes = 256 * 1024;

// Frames f0 .. f0 + n - 1 of the lines of `g` into out[j] + f0 (out[j] for line first + j).
void computeGroup(const Recording& rec, FilterBank& filters, const LineGroup& g,
                  float* const* lineOut, uint32_t f0, uint32_t n) {
    const int channels = rec.header.numChannels;
    const int32_t* frames = rec.pageBuffer.data() + static_cast<size_t>(f0) * channels;
    std::array<DerivationRecord, kSideBySide> r{};
    std::array<LineFilter*, kSideBySide> chains{};
    std::array<float*, kSideBySide> out{};
    for (int j = 0; j < g.count; ++j) {
        r[j] = lineSource(rec, g.first + j);
        chains[j] = &filters.line(g.first + j);
        out[j] = lineOut[j] + f0;
    }
    if (!g.filtered) {
        const std::span<float> line(out[0], n);
        if (r[0].kind == kNoInput || r[0].kind == kUnavailable) {
            // 0 throughout: no input, or no value to carry forward
            std::fill(line.begin(), line.end(), 0.0f);
        } else {
            const int32_t* frame = frames;
            for (float& v : line) {
                v = static_cast<float>(lineValue(r[0], frame));
                frame += channels;
            }
        }
    } else if (g.count == 4) {
        filterPairs<2>(r.data(), chains.data(), out.data(), frames, n, channels);
    } else {
        if (g.count >= 2) {
            filterPairs<1>(r.data(), chains.data(), out.data(), frames, n, channels);
        }
        if (g.count % 2 == 1) {
            filterLine(r[g.count - 1], *chains[g.count - 1], out[g.count - 1], frames, n, channels);
        }
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
    const int most =
        kept_ ? kSideBySide : static_cast<int>(std::clamp<size_t>(fitting, 1, kSideBySide));
    values_.resize(static_cast<size_t>(kept_ ? lines_ : most) * frames_);
    const auto filtered = [&](int line) {
        const uint8_t kind = lineSource(rec, line).kind;
        return kind != kNoInput && kind != kUnavailable && !bypassesFilters(m, line);
    };
    std::vector<LineGroup> groups;
    for (int i = 0; i < lines_; i += groups.back().count) {
        LineGroup g{i, 1, filtered(i)};
        while (g.filtered && g.count < most && i + g.count < lines_ && filtered(i + g.count)) {
            ++g.count;
        }
        groups.push_back(g);
    }
    const auto storage = [&](const LineGroup& g) {
        std::array<float*, kSideBySide> out{};
        for (int j = 0; j < g.count; ++j) {
            out[j] = values_.data() + static_cast<size_t>(kept_ ? g.first + j : j) * frames_;
        }
        return out;
    };
    const size_t rowBytes = std::max<size_t>(1, rec.header.numChannels * sizeof(int32_t));
    if (kept_ && rowBytes * frames_ > 2 * kBlockBytes) {
        // A page larger than the cache: block by block of frames, every group; then the lines
        // in order. (A smaller page is read group after group, each drawn while its values
        // are at hand.)
        const auto block = static_cast<uint32_t>(std::max<size_t>(64, kBlockBytes / rowBytes));
        for (uint32_t f = 0; f < frames_; f += std::min(block, frames_ - f)) {
            for (const LineGroup& g : groups) {
                computeGroup(rec, filters, g, storage(g).data(), f, std::min(block, frames_ - f));
            }
        }
        for (int i = 0; i < lines_ && sink; ++i) {
            sink(i, line(i));
        }
        return;
    }
    for (const LineGroup& g : groups) {
        const std::array<float*, kSideBySide> out = storage(g);
        computeGroup(rec, filters, g, out.data(), 0, frames_);
        for (int j = 0; j < g.count && sink; ++j) {
            sink(g.first + j, std::span<const float>(out[j], frames_));
        }
    }
}

std::span<const float> LineValues::line(int i) const {
    if (i < 0 || i >= lines_ || !kept_) {
        return {};
    }
    return {values_.data() + static_cast<size_t>(i) * frames_, frames_};
}

} // namespace viewer
