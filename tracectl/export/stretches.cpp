#include "stretches.h"

#include "recording_queries.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace viewer::edf {

int64_t exportableFrames(const Recording& rec) {
    return std::min<int64_t>(rec.totalSamples, std::numeric_limits<uint32_t>::max());
}

std::vector<Stretch> continuousStretches(const Recording& rec, int64_t first, int64_t end) {
    first = std::max<int64_t>(first, 0);
    end = std::min(end, exportableFrames(rec));
    if (first >= end) {
        return {};
    }
    // The mapping to the uncut recording can change only where a segment begins.
    std::vector<int64_t> bounds{first};
    for (const SegmentRecord& s : rec.segments) {
        if (s.origSample == 0) {
            break;
        }
        if (s.fileSample > first && s.fileSample < end) {
            bounds.push_back(s.fileSample);
        }
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    bounds.push_back(end);

    std::vector<Stretch> out;
    for (size_t i = 0; i + 1 < bounds.size(); ++i) {
        const auto at = static_cast<uint32_t>(bounds[i]);
        const uint32_t uncut = queries::uncutFrame(rec, at);
        if (!out.empty() && uncut == out.back().uncutFirst + (at - out.back().first)) {
            out.back().end = bounds[i + 1];
            continue;
        }
        out.push_back({bounds[i], bounds[i + 1], uncut});
    }
    return out;
}

namespace {

// Seconds of the day in "HH:MM:SS" or "HH:MM"; empty for anything else.
std::optional<int64_t> clockSeconds(std::string_view text) {
    int64_t parts[3] = {0, 0, 0};
    int count = 0;
    const char* p = text.data();
    const char* endp = text.data() + text.size();
    while (count < 3) {
        const auto [next, ec] = std::from_chars(p, endp, parts[count]);
        if (ec != std::errc{} || next - p > 2 || parts[count] < 0) {
            return std::nullopt;
        }
        ++count;
        p = next;
        if (p == endp || *p != ':') {
            break;
        }
        ++p;
    }
    if (p != endp || count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) {
        return std::nullopt;
    }
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

} // namespace

std::optional<int64_t> frameAtTime(const Recording& rec, std::string_view text) {
    const int64_t total = exportableFrames(rec);
    const int64_t rate = rec.header.rate;
    if (rate == 0) {
        return std::nullopt;
    }
    if (text.find(':') == std::string_view::npos) {
        const std::string s(text);
        char* endp = nullptr;
        const double seconds = std::strtod(s.c_str(), &endp);
        if (s.empty() || *endp != '\0' || !std::isfinite(seconds)) {
            return std::nullopt;
        }
        return std::clamp<int64_t>(std::llround(seconds * static_cast<double>(rate)), 0, total);
    }
    const std::optional<int64_t> clock = clockSeconds(text);
    if (!clock) {
        return std::nullopt;
    }
    const TrcHeader& h = rec.header;
    const int64_t startOfDay = h.recHour * 3600 + h.recMinute * 60 + h.recSecond;
    const int64_t wanted = ((*clock - startOfDay) % 86400 + 86400) % 86400 * rate;
    for (const Stretch& s : continuousStretches(rec, 0, total)) {
        const int64_t last = s.uncutFirst + (s.end - s.first);
        if (wanted < last) {
            return s.first + std::max<int64_t>(wanted - s.uncutFirst, 0);
        }
    }
    return total;
}

} // namespace viewer::edf
