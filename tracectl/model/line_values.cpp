#include "line_values.h"

#include "derivations.h"
#include "filter_pair.h"
#include "page_length.h"

#include <algorithm>
#include <array>
#include <tuple>
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

// The value of line j of a group in one frame: a recorded line's value.
struct RecordedInput {
    const DerivationRecord* r;
    double operator()(int j, uint32_t, const int32_t* frame) const {
        return static_cast<double>(lineValue(r[j], frame)) + lineValueFraction(r[j]);
    }
};

// Frames a group with weighted lines is computed by at a time: their values first, then
// their filters.
constexpr uint32_t kChunk = 512;
using Chunk = std::array<std::array<double, kChunk>, 4>;

// The value of line j of a group in frame f of the chunk computed ahead.
struct ChunkInput {
    const Chunk* values;
    double operator()(int j, uint32_t f, const int32_t*) const {
        return (*values)[static_cast<size_t>(j)][f];
    }
};

// The values of the `count` lines of a group over `n` frames from `frames` into `v`: a
// weighted line term by term, as weightedValue adds them; other lines as lineValue.
void fillChunk(const DerivationRecord* r, const WeightedDerivation* const* w, const double* shared,
               int count, const int32_t* frames, int channels, uint32_t n, Chunk& v) {
    for (int j = 0; j < count; ++j) {
        std::array<double, kChunk>& line = v[static_cast<size_t>(j)];
        if (w[j] == nullptr) {
            const double fraction = lineValueFraction(r[j]);
            for (uint32_t f = 0; f < n; ++f) {
                line[f] =
                    static_cast<double>(lineValue(r[j], frames + size_t{f} * channels)) + fraction;
            }
            continue;
        }
        const WeightedDerivation& d = *w[j];
        for (uint32_t f = 0; f < n; ++f) {
            line[f] = d.offset + (d.shared ? shared[f] : 0.0);
        }
        for (size_t k = 0; k < d.channels.size(); ++k) {
            const double weight = d.weights[k];
            const int32_t* in = frames + d.channels[k];
            for (uint32_t f = 0; f < n; ++f) {
                line[f] += weight * in[size_t{f} * channels];
            }
        }
    }
}

// Line j's value at each frame through its own filter chain, one line alone.
template <typename Input>
void filterLine(const Input& in, int j, LineFilter& chain, float* out, const int32_t* frame,
                uint32_t frames, int channels) {
    for (uint32_t f = 0; f < frames; ++f, frame += channels) {
        out[f] = static_cast<float>(chain.step(in(j, f, frame)));
    }
}

// 2 x P lines at once, each pair through a FilterPair (see there): the same values as each
// line alone. Two pairs side by side overlap their recurrences once more.
template <int P, typename Input>
void filterPairs(const Input& in, LineFilter* const* chains, float* const* out,
                 const int32_t* frame, uint32_t frames, int channels) {
#if defined(__SSE2__)
    std::array<FilterPair, P> pairs = [&]<size_t... p>(std::index_sequence<p...>) {
        return std::array<FilterPair, P>{FilterPair(*chains[2 * p], *chains[2 * p + 1])...};
    }
    (std::make_index_sequence<P>());
    for (uint32_t f = 0; f < frames; ++f, frame += channels) {
        for (int p = 0; p < P; ++p) {
            const double a = in(2 * p, f, frame);
            const double b = in(2 * p + 1, f, frame);
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
        filterLine(in, j, *chains[j], out[j], frame, frames, channels);
    }
#endif
}

// The filtered lines of a group of `count` through their chains.
template <typename Input>
void filterGroup(const Input& in, int count, LineFilter* const* chains, float* const* out,
                 const int32_t* frames, uint32_t n, int channels) {
    if (count == 4) {
        filterPairs<2>(in, chains, out, frames, n, channels);
        return;
    }
    if (count >= 2) {
        filterPairs<1>(in, chains, out, frames, n, channels);
    }
    if (count % 2 == 1) {
        filterLine(in, count - 1, *chains[count - 1], out[count - 1], frames, n, channels);
    }
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

// Frames f0 .. f0 + n - 1 of the lines of `g` into out[j] + f0 (out[j] for line first + j);
// `shared` holds the page's shared sum of weighted lines (null when none uses one).
void computeGroup(const Recording& rec, FilterBank& filters, const LineGroup& g,
                  float* const* lineOut, uint32_t f0, uint32_t n, const double* shared) {
    const int channels = rec.header.numChannels;
    const int32_t* frames = rec.pageBuffer.data() + static_cast<size_t>(f0) * channels;
    std::array<DerivationRecord, kSideBySide> r{};
    std::array<const WeightedDerivation*, kSideBySide> w{};
    std::array<LineFilter*, kSideBySide> chains{};
    std::array<float*, kSideBySide> out{};
    bool weighted = false;
    for (int j = 0; j < g.count; ++j) {
        r[j] = lineSource(rec, g.first + j);
        if (r[j].kind == kWeighted) {
            w[j] = &rec.weighted.lines[static_cast<size_t>(g.first) + static_cast<size_t>(j)];
            weighted = true;
        }
        chains[j] = &filters.line(g.first + j);
        out[j] = lineOut[j] + f0;
    }
    const double* sharedHere = shared != nullptr ? shared + f0 : nullptr;
    if (!g.filtered) {
        const std::span<float> line(out[0], n);
        if (r[0].kind == kNoInput || r[0].kind == kUnavailable) {
            // 0 throughout: no input, or no value to carry forward
            std::fill(line.begin(), line.end(), 0.0f);
        } else {
            const int32_t* frame = frames;
            for (uint32_t f = 0; f < n; ++f, frame += channels) {
                line[f] = static_cast<float>(
                    w[0] != nullptr
                        ? weightedValue(*w[0], frame, sharedHere ? sharedHere[f] : 0.0)
                        : static_cast<double>(lineValue(r[0], frame)) + lineValueFraction(r[0]));
            }
        }
    } else if (weighted) {
        Chunk values;
        for (uint32_t c = 0; c < n; c += kChunk) {
            const uint32_t m = std::min(kChunk, n - c);
            const int32_t* at = frames + size_t{c} * channels;
            fillChunk(r.data(), w.data(), sharedHere ? sharedHere + c : nullptr, g.count, at,
                      channels, m, values);
            std::array<float*, kSideBySide> chunkOut{};
            for (int j = 0; j < g.count; ++j) {
                chunkOut[j] = out[j] + c;
            }
            filterGroup(ChunkInput{&values}, g.count, chains.data(), chunkOut.data(), at, m,
                        channels);
        }
    } else {
        filterGroup(RecordedInput{r.data()}, g.count, chains.data(), out.data(), frames, n,
                    channels);
    }
}

// The shared sum of the page's weighted lines at each of `frames` frames; empty when no
// line uses it.
void computeShared(const Recording& rec, uint32_t frames, std::vector<double>& shared) {
    const WeightedLines& wl = rec.weighted;
    const bool used = std::any_of(wl.lines.begin(), wl.lines.end(),
                                  [](const WeightedDerivation& w) { return w.shared; });
    shared.clear();
    if (!used) {
        return;
    }
    shared.resize(frames);
    const int channels = rec.header.numChannels;
    const int32_t* frame = rec.pageBuffer.data();
    for (uint32_t f = 0; f < frames; ++f, frame += channels) {
        double sum = 0.0;
        for (size_t k = 0; k < wl.sharedChannels.size(); ++k) {
            sum += wl.sharedWeights[k] * frame[wl.sharedChannels[k]];
        }
        shared[f] = sum;
    }
}

} // namespace

namespace {

// The lines and frames a computation on `rec` covers.
std::pair<int, uint32_t> extentOf(const Recording& rec) {
    const bool loaded = rec.isOpen() && !rec.pageBuffer.empty();
    return {loaded ? std::min<int>(rec.currentMontage.numLines, kMaxLines) : 0,
            loaded ? std::min(rec.samplesPerPage, framesThatFit(rec)) : 0};
}

} // namespace

bool LineValues::keepsAll(const Recording& rec) {
    const auto [lines, frames] = extentOf(rec);
    return static_cast<size_t>(lines) * frames <= kKeptValues;
}

void LineValues::compute(const Recording& rec, FilterBank& filters, const LineSink& sink) {
    const MontageRecord& m = rec.currentMontage;
    std::tie(lines_, frames_) = extentOf(rec);
    kept_ = keepsAll(rec);
    computeShared(rec, frames_, shared_);
    const double* shared = shared_.empty() ? nullptr : shared_.data();
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
                computeGroup(rec, filters, g, storage(g).data(), f, std::min(block, frames_ - f),
                             shared);
            }
        }
        for (int i = 0; i < lines_ && sink; ++i) {
            sink(i, line(i));
        }
        return;
    }
    for (const LineGroup& g : groups) {
        const std::array<float*, kSideBySide> out = storage(g);
        computeGroup(rec, filters, g, out.data(), 0, frames_, shared);
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
