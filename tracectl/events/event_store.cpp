#include "event_store.h"

#include "atomic_file.h"
#include "sidecar_tsv.h"

#include <ctime>
#include <filesystem>
#include <sys/stat.h>

namespace viewer::events {

std::string lineListText(const std::vector<int>& lines) {
    std::string text = lines.size() == 1 ? "line " : "lines ";
    const size_t shown = std::min<size_t>(lines.size(), 10);
    for (size_t i = 0; i < shown; ++i) {
        if (i > 0) {
            text += i + 1 == lines.size() ? " and " : ", ";
        }
        text += std::to_string(lines[i]);
    }
    if (lines.size() > shown) {
        text += " and " + std::to_string(lines.size() - shown) + " more";
    }
    return text;
}

std::string utcNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

EventStore::EventStore(SidecarPlace place) : place_(std::move(place)) {
    if (place_.fallback) {
        std::error_code ignored;
        std::filesystem::create_directories(folderOf(place_.tsv), ignored);
    }
    read();
    lock_ = std::make_unique<SidecarLock>(place_.lock());
    if (!badLinesReason_.empty()) {
        readOnlyReason_ = badLinesReason_;
    } else if (!lock_->held()) {
        readOnlyReason_ = "the events are " + lock_->problem();
    }
}

EventStore::~EventStore() = default;

EventStore::Stamp EventStore::stampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return {};
    }
    return {true, st.st_dev, st.st_ino, st.st_size,
            static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

void EventStore::read() {
    stamp_ = stampOf(place_.tsv);
    FileText file = readWholeFile(place_.tsv);
    std::string source = place_.tsv;
    if (file.missing && !place_.seed.empty()) {
        file = readWholeFile(place_.seed);
        source = place_.seed;
    }
    if (!file.read && !file.missing) {
        badLinesReason_ = file.error;
        return;
    }
    ParsedEvents parsed = parseEvents(file.text, TableKind::Tabs);
    if (!parsed.whole()) {
        badLinesReason_ = source + ": " + lineListText(parsed.badLines) + " cannot be read (" +
                          (parsed.problem.empty() ? "not an event" : parsed.problem) +
                          "); the events are open read-only and the file is left as it is";
    } else {
        badLinesReason_.clear();
    }
    events_ = EventList(std::move(parsed.events));
}

std::string EventStore::commit(EventList events) {
    if (readOnly()) {
        unsaved_ = true;
        return readOnlyReason_;
    }
    events_ = std::move(events);
    std::string error =
        writeFileAtomically(place_.tsv, formatSidecar(events_.all()), place_.backup());
    if (error.empty() && stampOf(place_.json()).exists == false) {
        error = writeFileAtomically(place_.json(), sidecarDescription());
    }
    unsaved_ = !error.empty();
    stamp_ = stampOf(place_.tsv);
    return error;
}

bool EventStore::changedOnDisk() const { return !(stampOf(place_.tsv) == stamp_); }

bool EventStore::reload() {
    const EventList kept = events_;
    read();
    if (!badLinesReason_.empty()) {
        // A half-written file from another program: keep what we have, write nothing.
        events_ = kept;
        readOnlyReason_ = badLinesReason_;
        return false;
    }
    if (lock_->held()) {
        readOnlyReason_.clear();
    }
    unsaved_ = false;
    return true;
}

} // namespace viewer::events
