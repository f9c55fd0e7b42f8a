#pragma once
// Where the events of a recording are kept: NAME.events.tsv beside the recording, or, when
// the recording's folder cannot be written (a read-only archive share), in the user's data
// folder under a name made from the recording's identity, so that a copy of the recording
// finds the same events.

#include <functional>
#include <string>

namespace viewer {
struct Recording;
}

namespace viewer::events {

// "rec-20260301-102341-" and 16 hexadecimal digits of a hash of the header's patient,
// birth, recording date and time, channel count, rate and sample size, and the file size.
std::string identityName(const Recording& rec);

// $XDG_DATA_HOME/Viewer, or ~/.local/share/Viewer.
std::string userDataFolder();

// True when a file can be made in `folder`.
bool folderWritable(const std::string& folder);

struct SidecarPlace {
    std::string tsv;            // where the events are read and written
    std::string seed;           // a sidecar beside a read-only recording, read when `tsv` is new
    bool fallback = false;      // `tsv` is in the user's data folder
    std::string json() const;   // NAME.events.json
    std::string backup() const; // NAME.events.tsv.bak
    std::string lock() const;   // NAME.events.tsv.lock
};

// The sidecar of the recording at `recordingPath`: beside it when its folder can be written
// (`writable`), else `dataFolder`/events/`identity`.events.tsv.
SidecarPlace sidecarPlace(const std::string& recordingPath, const std::string& identity,
                          const std::string& dataFolder,
                          const std::function<bool(const std::string&)>& writable);

} // namespace viewer::events
