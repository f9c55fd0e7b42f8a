#include "line_values.h"

#include "derivations.h"
#include "page_length.h"

#include <algorithm>

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

void LineValues::compute(const Recording& rec, FilterBank& filters, const LineSink& sink) {
    const MontageRecord& m = rec.currentMontage;
    const bool loaded = rec.isOpen() && !rec.pageBuffer.empty();
    lines_ = loaded ? std::min<int>(m.numLines, kMaxLines) : 0;
    frames_ = loaded ? std::min(rec.samplesPerPage, framesThatFit(rec)) : 0;
    kept_ = static_cast<size_t>(lines_) * frames_ <= kKeptValues;
    values_.resize(kept_ ? static_cast<size_t>(lines_) * frames_ : frames_);
    const int channels = rec.header.numChannels;
    for (int i = 0; i < lines_; ++i) {
        const std::span<float> out(values_.data() + (kept_ ? static_cast<size_t>(i) * frames_ : 0),
                                   frames_);
        const DerivationRecord r = lineSource(rec, i);
        const int32_t* frame = rec.pageBuffer.data();
        if (r.kind == kNoInput || r.kind == kUnavailable) {
            // 0 throughout: no input, or no value to carry forward
            std::fill(out.begin(), out.end(), 0.0f);
        } else if (bypassesFilters(m, i)) {
            for (float& v : out) {
                v = static_cast<float>(lineValue(r, frame));
                frame += channels;
            }
        } else {
            LineFilter& chain = filters.line(i);
            for (float& v : out) {
                v = static_cast<float>(chain.step(static_cast<double>(lineValue(r, frame))));
                frame += channels;
            }
        }
        if (sink) {
            sink(i, out);
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
