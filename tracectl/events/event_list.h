#pragma once
// The events of one recording, kept sorted by onset, with a quick query for the events that
// overlap a stretch of time (a page) among 100,000 or more.

#include "event_record.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace viewer::events {

class EventList {
public:
    EventList() = default;
    // Takes `events` in any order.
    explicit EventList(std::vector<Event> events);

    size_t size() const { return events_.size(); }
    bool empty() const { return events_.empty(); }
    const Event& at(size_t i) const { return events_.at(i); }
    const std::vector<Event>& all() const { return events_; }

    // Inserts `e` in order; returns its index.
    size_t add(Event e);
    // Removes the event equal to `e` in every field; false when there is none.
    bool remove(const Event& e);
    // Replaces the event equal to `before` by `after`; false when there is none.
    bool replace(const Event& before, const Event& after);
    // Index of the event equal to `e` in every field, or nothing.
    std::optional<size_t> find(const Event& e) const;
    // Index of the first event of `type` with onset `onsetMs`, or nothing.
    std::optional<size_t> findAt(int64_t onsetMs, const std::string& type) const;
    // True when an event of the same finding (sameFinding) is in the list.
    bool containsFinding(const Event& e) const;

    // Indices, in order, of the events that overlap [t0, t1): a span whose onset lies before
    // t1 and whose end lies after t0, or an instant at t0 <= onset < t1.
    std::vector<size_t> overlapping(int64_t t0Ms, int64_t t1Ms) const;
    // The first onset after `ms`, or nothing; the last onset before `ms`, or nothing.
    std::optional<int64_t> nextOnsetAfter(int64_t ms) const;
    std::optional<int64_t> previousOnsetBefore(int64_t ms) const;

private:
    std::vector<Event> events_;
    // The longest duration in the list: a page query looks back this far for spans that
    // began before the page. Grows on add and stays (a removal leaves it an upper bound).
    int64_t longestMs_ = 0;
};

} // namespace viewer::events
