#pragma once
// Events from other tables: a detector's output or another reviewer's sidecar, tab- or
// comma-separated, merged without duplicates.

#include "event_list.h"
#include "sidecar_tsv.h"

#include <string>

namespace viewer::events {

// Reads the table at `path`: commas for a name ending in ".csv" (any case), tabs otherwise.
// A file that cannot be read is a `problem`.
ParsedEvents readEventTable(const std::string& path);

// Adds to `list` every event of `incoming` whose finding (onset, duration, type, lines) is
// not there yet, nor earlier in `incoming`. Returns how many were added.
size_t mergeEvents(EventList& list, const std::vector<Event>& incoming);

} // namespace viewer::events
