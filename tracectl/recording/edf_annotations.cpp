#include "edf_annotations.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace viewer {

namespace {

constexpr char kOnsetEnd = 0x14; // ends the onset (or duration) and each annotation text
constexpr char kDurationMark = 0x15;

// A signed or unsigned decimal number at the start of `s`, up to `end`; false when `s` does
// not start with one.
bool readNumber(std::string_view& s, char end, double& value, bool sign) {
    const size_t stop = s.find(end);
    if (stop == std::string_view::npos || stop == 0) {
        return false;
    }
    std::string_view text = s.substr(0, stop);
    if (sign && text[0] != '+' && text[0] != '-') {
        return false;
    }
    const bool negative = text[0] == '-';
    if (text[0] == '+' || text[0] == '-') {
        text.remove_prefix(1);
    }
    double v = 0;
    const auto r =
        std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::fixed);
    if (text.empty() || r.ec != std::errc{} || r.ptr != text.data() + text.size()) {
        return false;
    }
    value = negative ? -v : v;
    s.remove_prefix(stop + 1);
    return true;
}

// One TAL at the start of `s` (which ends before its NUL): onset, duration and texts.
bool readTal(std::string_view tal, double& onset, double& duration,
             std::vector<std::string_view>& texts) {
    const size_t onsetEnd = tal.find_first_of(std::string_view("\x14\x15", 2));
    if (onsetEnd == std::string_view::npos) {
        return false;
    }
    const char mark = tal[onsetEnd];
    if (!readNumber(tal, mark, onset, true)) {
        return false;
    }
    duration = -1;
    if (mark == kDurationMark && !readNumber(tal, kOnsetEnd, duration, false)) {
        return false;
    }
    texts.clear();
    while (!tal.empty()) {
        const size_t end = tal.find(kOnsetEnd);
        if (end == std::string_view::npos) {
            return false;
        }
        texts.push_back(tal.substr(0, end));
        tal.remove_prefix(end + 1);
    }
    return true;
}

} // namespace

bool parseTals(std::string_view bytes, bool timekeeping, double& recordOnset,
               std::vector<EdfNote>& notes) {
    std::vector<std::string_view> texts;
    bool first = true;
    while (!bytes.empty() && bytes.front() != '\0') {
        const size_t end = bytes.find('\0');
        if (end == std::string_view::npos) {
            return !first;
        }
        double onset = 0;
        double duration = -1;
        if (!readTal(bytes.substr(0, end), onset, duration, texts)) {
            return !first;
        }
        bytes.remove_prefix(end + 1);
        size_t t = 0;
        if (first && timekeeping) {
            recordOnset = onset;
            t = 1; // the record's own time has an empty first text
        }
        for (; t < texts.size(); ++t) {
            if (!texts[t].empty()) {
                notes.push_back({onset, duration, std::string(texts[t]), 1});
            }
        }
        first = false;
    }
    return !first;
}

EdfScan scanEdfRecords(const TraceFile& file, const EdfLayout& layout, int64_t from, int64_t to) {
    EdfScan scan;
    scan.from = from;
    scan.to = std::clamp<int64_t>(to, from, layout.records);
    std::vector<char> bytes;
    double previous = from * layout.recordSeconds;
    for (int64_t r = from; r < scan.to; ++r) {
        double onset = previous + (r == from ? 0.0 : layout.recordSeconds);
        bool timed = false;
        for (size_t a = 0; a < layout.annotations.size(); ++a) {
            const EdfAnnotationBlock& block = layout.annotations[a];
            bytes.resize(static_cast<size_t>(block.bytes));
            const int64_t at = layout.headerBytes + r * layout.recordBytes + block.offsetInRecord;
            const size_t got = file.readAt(at, bytes.data(), bytes.size());
            double recordOnset = onset;
            const bool read =
                parseTals(std::string_view(bytes.data(), got), a == 0, recordOnset, scan.notes);
            if (a == 0 && read) {
                onset = recordOnset;
                timed = true;
            }
        }
        if (layout.discontinuous) {
            scan.recordOnsets.push_back(timed || r == 0 ? onset : previous + layout.recordSeconds);
        }
        previous = layout.discontinuous ? scan.recordOnsets.back() : onset;
    }
    return scan;
}

void mergeEdfScan(EdfSource& source, EdfScan&& scan) {
    const EdfLayout& layout = source.layout;
    std::move(scan.notes.begin(), scan.notes.end(), std::back_inserter(source.notes));
    source.recordsScanned = std::max(source.recordsScanned, scan.to);
    if (layout.discontinuous) {
        const double fps = layout.framesPerSecond();
        const double halfFrame = 0.5 / fps;
        for (size_t k = 0; k < scan.recordOnsets.size(); ++k) {
            const int64_t record = scan.from + static_cast<int64_t>(k);
            const double onset = scan.recordOnsets[k];
            const bool follows =
                !source.recordOnsets.empty() &&
                std::abs(onset - (source.recordOnsets.back() + layout.recordSeconds)) <= halfFrame;
            if (!follows) {
                source.stretches.push_back(
                    {record * layout.framesPerRecord, std::llround(onset * fps)});
            }
            source.recordOnsets.push_back(onset);
        }
    }
    placeEdfNotes(source);
}

int64_t edfUncutFrame(const EdfSource& source, int64_t s) {
    const auto& st = source.stretches;
    auto after = std::upper_bound(st.begin(), st.end(), s,
                                  [](int64_t v, const EdfStretch& x) { return v < x.fileFrame; });
    if (after == st.begin()) {
        return s;
    }
    --after;
    return s - after->fileFrame + after->uncutFrame;
}

void placeEdfNotes(EdfSource& source) {
    const double fps = source.layout.framesPerSecond();
    const auto& st = source.stretches;
    for (EdfNote& n : source.notes) {
        const int64_t uncut = std::llround(n.onset * fps);
        int64_t frame = uncut;
        if (!st.empty()) {
            auto next =
                std::upper_bound(st.begin(), st.end(), uncut,
                                 [](int64_t v, const EdfStretch& x) { return v < x.uncutFrame; });
            if (next == st.begin()) {
                frame = st.front().fileFrame;
            } else {
                const EdfStretch& in = *(next - 1);
                frame = in.fileFrame + (uncut - in.uncutFrame);
                if (next != st.end() && frame > next->fileFrame) {
                    frame = next->fileFrame; // in the gap before the next stretch
                }
            }
        }
        n.frame = std::max<int64_t>(frame, 1);
    }
    std::stable_sort(source.notes.begin(), source.notes.end(),
                     [](const EdfNote& a, const EdfNote& b) { return a.frame < b.frame; });
}

} // namespace viewer
