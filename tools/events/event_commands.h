#pragma once
// The commands of the events tool over one recording's event store.

#include "event_store.h"

#include <map>
#include <string>
#include <vector>

namespace viewer::events {

struct CommandResult {
    int exitCode = 0;
    std::string out; // for standard output
    std::string err; // a plain-word message for standard error
};

struct AddOptions {
    std::map<std::string, std::string> values; // "--onset" -> "12.5", ...
};

// `list`: the sidecar's table on standard output; the recording's own notes are not in it.
CommandResult listEvents(const EventStore& store);
// `add`: one event from --onset, --duration, --type, --channel and --comment, checked against
// the recording's length in milliseconds.
CommandResult addEvent(EventStore& store, const std::map<std::string, std::string>& options,
                       int64_t recordingMs);
// `remove`: the event of --type at --onset.
CommandResult removeEvent(EventStore& store, const std::map<std::string, std::string>& options);
// `import`: the events of a TSV or CSV table, without duplicates.
CommandResult importEvents(EventStore& store, const std::string& path);

} // namespace viewer::events
