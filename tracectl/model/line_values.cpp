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

void LineValues::compute(const Recording& rec, FilterBank& filters) {
    const MontageRecord& m = rec.currentMontage;
    const bool loaded = rec.isOpen() && !rec.pageBuffer.empty();
    lines_ = loaded ? std::min<int>(m.numLines, kMaxLines) : 0;
    frames_ = loaded ? std::min(rec.samplesPerPage, framesThatFit(rec)) : 0;
    values_.assign(static_cast<size_t>(lines_) * frames_, 0.0f);
    const int channels = rec.header.numChannels;
    for (int i = 0; i < lines_; ++i) {
        const DerivationRecord r = lineSource(rec, i);
        if (r.kind == kNoInput || r.kind == kUnavailable) {
            continue; // 0 throughout: no input, or no value to carry forward
        }
        float* out = values_.data() + static_cast<size_t>(i) * frames_;
        const int32_t* frame = rec.pageBuffer.data();
        if (bypassesFilters(m, i)) {
            for (uint32_t l = 0; l < frames_; ++l, frame += channels) {
                out[l] = static_cast<float>(lineValue(r, frame));
            }
            continue;
        }
        LineFilter& chain = filters.line(i);
        for (uint32_t l = 0; l < frames_; ++l, frame += channels) {
            out[l] = static_cast<float>(chain.step(static_cast<double>(lineValue(r, frame))));
        }
    }
}

std::span<const float> LineValues::line(int i) const {
    if (i < 0 || i >= lines_) {
        return {};
    }
    return {values_.data() + static_cast<size_t>(i) * frames_, frames_};
}

} // namespace viewer
