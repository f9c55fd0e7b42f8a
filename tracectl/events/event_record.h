#pragma once
// One reviewer event: a finding marked on the recording, kept in the sidecar beside it and
// never in the recording itself.

#include <cstdint>
#include <string>
#include <vector>

namespace viewer::events {

struct Event {
    int64_t onsetMs = 0;            // from the start of the file's data
    int64_t durationMs = 0;         // 0 for an instant
    std::string type;               // "Spike", "Seizure", any text of the reviewer's
    std::string comment;            // may be empty
    std::vector<std::string> lines; // labels of the lines it concerns; empty for all
    std::string annotator;          // user name of who made it
    std::string created;            // ISO 8601, UTC ("2026-03-01T10:23:41Z")

    int64_t endMs() const { return onsetMs + durationMs; }
};

// The same finding: onset, duration, type and lines agree (who made it, when, and the comment
// do not count). Imports skip an event that is the same as one already there.
bool sameFinding(const Event& a, const Event& b);

// Every field equal.
bool operator==(const Event& a, const Event& b);

// Sort order of a list: onset, then duration, then type.
bool eventBefore(const Event& a, const Event& b);

} // namespace viewer::events
