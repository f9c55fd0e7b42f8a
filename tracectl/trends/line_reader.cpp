#include "line_reader.h"

#include "derivations.h"
#include "line_values.h"
#include "montage_lines.h"
#include "own_montage.h"
#include "page_length.h"
#include "page_loading.h"
#include "recording.h"

#include <algorithm>

namespace viewer::trends {

LineReader::LineReader() : rec_(std::make_unique<Recording>()) {}
LineReader::~LineReader() = default;

bool LineReader::open(const std::string& path, const TrendMontage& montage, std::string& error) {
    Recording& rec = *rec_;
    if (!openRecording(rec, path)) {
        error = "cannot open " + path + " as a recording";
        return false;
    }
    if (rec.totalSamples <= 0 || rec.header.rate == 0) {
        error = path + " holds no samples";
        return false;
    }
    if (const auto* def = std::get_if<MontageDefinition>(&montage.lines)) {
        applyOwnMontage(rec, *def, PageSettings{});
    } else {
        rec.own = OwnMontage{};
        rec.currentMontage = std::get<MontageRecord>(montage.lines);
    }
    buildDerivationRecords(rec);
    rec.pageBuffer.assign(static_cast<size_t>(kPageBufferValues), 0);
    rate_ = rec.header.rate;
    frames_ = rec.totalSamples;
    const int lines = std::min<int>(rec.currentMontage.numLines, kMaxLines);
    labels_.clear();
    present_.clear();
    scale_.clear();
    for (int i = 0; i < lines; ++i) {
        const DerivationRecord r = lineSource(rec, i);
        labels_.push_back(lineLabelText(rec, i));
        present_.push_back(r.kind != kNoInput && r.kind != kUnavailable);
        scale_.push_back(lineScale(r));
    }
    return true;
}

void LineReader::read(int64_t first, int64_t count, std::vector<std::vector<float>>& out) {
    out.resize(labels_.size());
    for (std::vector<float>& line : out) {
        line.assign(static_cast<size_t>(std::max<int64_t>(count, 0)), 0.0f);
    }
    const int64_t chunk = framesThatFit(*rec_);
    for (int64_t at = first; at < std::min(first + count, frames_) && chunk > 0; at += chunk) {
        const auto n = static_cast<uint32_t>(std::min({chunk, first + count - at, frames_ - at}));
        LoadPage(*rec_, static_cast<uint32_t>(at), n);
        convert(n, out, static_cast<size_t>(at - first));
    }
}

void LineReader::convert(uint32_t frames, std::vector<std::vector<float>>& out, size_t at) {
    const Recording& rec = *rec_;
    const int channels = rec.header.numChannels;
    std::vector<double> shared(frames, 0.0);
    const WeightedLines& wl = rec.weighted;
    for (uint32_t f = 0; f < frames && !wl.sharedChannels.empty(); ++f) {
        const int32_t* frame = rec.pageBuffer.data() + static_cast<size_t>(f) * channels;
        for (size_t k = 0; k < wl.sharedChannels.size(); ++k) {
            shared[f] += wl.sharedWeights[k] * frame[wl.sharedChannels[k]];
        }
    }
    for (size_t i = 0; i < labels_.size(); ++i) {
        if (!present_[i]) {
            continue;
        }
        const DerivationRecord r = lineSource(rec, static_cast<int>(i));
        const WeightedDerivation* w = r.kind == kWeighted ? &wl.lines[i] : nullptr;
        const int32_t* frame = rec.pageBuffer.data();
        float* dst = out[i].data() + at;
        for (uint32_t f = 0; f < frames; ++f, frame += channels) {
            const double v = w != nullptr ? weightedValue(*w, frame, shared[f])
                                          : static_cast<double>(lineValue(r, frame));
            dst[f] = static_cast<float>(v * scale_[i]);
        }
    }
}

} // namespace viewer::trends
