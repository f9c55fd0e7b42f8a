#include "event_list.h"

#include <algorithm>
#include <limits>
#include <tuple>

namespace viewer::events {

bool sameFinding(const Event& a, const Event& b) {
    return a.onsetMs == b.onsetMs && a.durationMs == b.durationMs && a.type == b.type &&
           a.lines == b.lines;
}

bool operator==(const Event& a, const Event& b) {
    return sameFinding(a, b) && a.comment == b.comment && a.annotator == b.annotator &&
           a.created == b.created;
}

bool eventBefore(const Event& a, const Event& b) {
    return std::tie(a.onsetMs, a.durationMs, a.type) < std::tie(b.onsetMs, b.durationMs, b.type);
}

namespace {

bool onsetBefore(const Event& e, int64_t ms) { return e.onsetMs < ms; }

} // namespace

EventList::EventList(std::vector<Event> events) : events_(std::move(events)) {
    // A sidecar this program wrote is in order already.
    if (!std::is_sorted(events_.begin(), events_.end(), eventBefore)) {
        std::stable_sort(events_.begin(), events_.end(), eventBefore);
    }
    for (const Event& e : events_) {
        longestMs_ = std::max(longestMs_, e.durationMs);
    }
}

size_t EventList::add(Event e) {
    longestMs_ = std::max(longestMs_, e.durationMs);
    const auto at = std::upper_bound(events_.begin(), events_.end(), e, eventBefore);
    return static_cast<size_t>(events_.insert(at, std::move(e)) - events_.begin());
}

std::optional<size_t> EventList::find(const Event& e) const {
    auto it = std::lower_bound(events_.begin(), events_.end(), e.onsetMs, onsetBefore);
    for (; it != events_.end() && it->onsetMs == e.onsetMs; ++it) {
        if (*it == e) {
            return static_cast<size_t>(it - events_.begin());
        }
    }
    return std::nullopt;
}

std::optional<size_t> EventList::findAt(int64_t onsetMs, const std::string& type) const {
    auto it = std::lower_bound(events_.begin(), events_.end(), onsetMs, onsetBefore);
    for (; it != events_.end() && it->onsetMs == onsetMs; ++it) {
        if (it->type == type) {
            return static_cast<size_t>(it - events_.begin());
        }
    }
    return std::nullopt;
}

bool EventList::containsFinding(const Event& e) const {
    auto it = std::lower_bound(events_.begin(), events_.end(), e.onsetMs, onsetBefore);
    for (; it != events_.end() && it->onsetMs == e.onsetMs; ++it) {
        if (sameFinding(*it, e)) {
            return true;
        }
    }
    return false;
}

bool EventList::remove(const Event& e) {
    const std::optional<size_t> i = find(e);
    if (!i) {
        return false;
    }
    events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(*i));
    return true;
}

bool EventList::replace(const Event& before, const Event& after) {
    if (!remove(before)) {
        return false;
    }
    add(after);
    return true;
}

std::vector<size_t> EventList::overlapping(int64_t t0Ms, int64_t t1Ms) const {
    std::vector<size_t> found;
    const int64_t from = t0Ms > std::numeric_limits<int64_t>::min() + longestMs_
                             ? t0Ms - longestMs_
                             : std::numeric_limits<int64_t>::min();
    auto it = std::lower_bound(events_.begin(), events_.end(), from, onsetBefore);
    for (; it != events_.end() && it->onsetMs < t1Ms; ++it) {
        const bool overlaps = it->durationMs > 0 ? it->endMs() > t0Ms : it->onsetMs >= t0Ms;
        if (overlaps) {
            found.push_back(static_cast<size_t>(it - events_.begin()));
        }
    }
    return found;
}

std::optional<int64_t> EventList::nextOnsetAfter(int64_t ms) const {
    const auto it = std::upper_bound(events_.begin(), events_.end(), ms,
                                     [](int64_t v, const Event& e) { return v < e.onsetMs; });
    return it == events_.end() ? std::nullopt : std::optional<int64_t>(it->onsetMs);
}

std::optional<int64_t> EventList::previousOnsetBefore(int64_t ms) const {
    const auto it = std::lower_bound(events_.begin(), events_.end(), ms, onsetBefore);
    return it == events_.begin() ? std::nullopt : std::optional<int64_t>(std::prev(it)->onsetMs);
}

} // namespace viewer::events
