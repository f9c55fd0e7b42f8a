#pragma once
// The events sidecar as text: a tab-separated table with a header row and the columns
// onset, duration, trial_type, channel, comment, annotator, created (seconds with three
// decimals, labels separated by commas, "n/a" for nothing), and the JSON file that
// describes those columns. Tabs, newlines and backslashes inside a text are escaped as
// \t, \n and \\; texts are UTF-8.

#include "event_record.h"

#include <string>
#include <string_view>
#include <vector>

namespace viewer::events {

// "12.345" for 12345 ms, "-0.250" for -250 ms.
std::string secondsText(int64_t ms);
// The text of `text` with tab, newline, carriage return and backslash escaped.
std::string escapeText(std::string_view text);

// The whole sidecar for `events`, in the given order, header row first.
std::string formatSidecar(const std::vector<Event>& events);
// The JSON description of the sidecar's columns.
std::string sidecarDescription();

enum class TableKind { Tabs, Commas };

struct ParsedEvents {
    std::vector<Event> events; // the lines that parsed, in file order
    std::vector<int> badLines; // 1-based numbers of the lines that did not
    std::string problem;       // empty, or why the table as a whole cannot be read
    bool whole() const { return badLines.empty() && problem.empty(); }
};

// Reads a table of events: the sidecar's own layout, or any table of `kind` whose header has
// an onset and a duration column (seconds) and one of trial_type, type, description or value
// (case does not matter), with channel, comment, annotator and created taken when present.
// Comma tables may quote fields ("a, b"); tab tables use the escapes above. A line with the
// wrong number of fields, an onset or duration that is no number (a duration "n/a" is 0), a
// negative duration, a bad escape or text that is not UTF-8 is a bad line.
ParsedEvents parseEvents(std::string_view text, TableKind kind);

} // namespace viewer::events
