#pragma once
// The events of one recording with their sidecar: where it lives, its lock, reading it and
// saving every change at once. A sidecar that cannot be read whole (bad lines, unreadable)
// or whose lock another process holds is open read-only and never written.

#include "event_list.h"
#include "sidecar_lock.h"
#include "sidecar_place.h"

#include <memory>
#include <string>
#include <sys/types.h>

namespace viewer::events {

class EventStore {
public:
    // Opens the events kept in `place` (see sidecarPlace); a missing sidecar is an empty list.
    // The recording itself is never opened here.
    explicit EventStore(SidecarPlace place);
    ~EventStore();
    EventStore(const EventStore&) = delete;
    EventStore& operator=(const EventStore&) = delete;

    const EventList& events() const { return events_; }
    const SidecarPlace& place() const { return place_; }
    // True when changes cannot be saved; readOnlyReason() says why in plain words.
    bool readOnly() const { return !readOnlyReason_.empty(); }
    const std::string& readOnlyReason() const { return readOnlyReason_; }
    // True when the last change could not be saved.
    bool unsaved() const { return unsaved_; }

    // Replaces the list and saves it at once (sidecar, description, previous version kept as
    // the backup). Returns an empty text or why it failed; a read-only store refuses.
    std::string commit(EventList events);
    // True when the sidecar on the disk is no longer the one this store last read or wrote.
    bool changedOnDisk() const;
    // Reads the sidecar again; false (and the list kept) when it cannot be read whole.
    bool reload();

private:
    struct Stamp {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        long long modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const std::string& path);
    void read();

    SidecarPlace place_;
    EventList events_;
    std::unique_ptr<SidecarLock> lock_;
    std::string readOnlyReason_;
    std::string badLinesReason_;
    bool unsaved_ = false;
    Stamp stamp_;
};

// "lines 3, 7 and 12" / "line 3".
std::string lineListText(const std::vector<int>& lines);

// The time now, ISO 8601 in UTC ("2026-03-01T10:23:41Z").
std::string utcNow();

} // namespace viewer::events
