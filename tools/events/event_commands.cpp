#include "event_commands.h"

#include "event_import.h"
#include "sidecar_tsv.h"
#include "table_text.h"

#include <cmath>
#include <cstdlib>
#include <optional>

namespace viewer::events {

namespace {

CommandResult failure(std::string message) { return {1, {}, std::move(message) + "\n"}; }

std::optional<int64_t> secondsOption(const std::map<std::string, std::string>& options,
                                     const std::string& name, std::string& problem) {
    const auto it = options.find(name);
    if (it == options.end()) {
        problem = name + " is missing";
        return std::nullopt;
    }
    char* end = nullptr;
    const double seconds = std::strtod(it->second.c_str(), &end);
    if (it->second.empty() || *end != '\0' || !std::isfinite(seconds) || seconds < 0 ||
        seconds > 1e9) {
        problem = name + " takes seconds (a number not below 0), not \"" + it->second + "\"";
        return std::nullopt;
    }
    return std::llround(seconds * 1000.0);
}

std::string text(const std::map<std::string, std::string>& options, const std::string& name) {
    const auto it = options.find(name);
    return it == options.end() ? std::string() : it->second;
}

CommandResult saved(EventStore& store, EventList list, std::string done) {
    if (const std::string error = store.commit(std::move(list)); !error.empty()) {
        return failure("nothing saved: " + error);
    }
    return {0, std::move(done) + "\n", {}};
}

} // namespace

CommandResult listEvents(const EventStore& store) {
    CommandResult r{0, formatSidecar(store.events().all()), {}};
    if (store.readOnly() && store.unsaved() == false && !store.events().empty()) {
        r.err = "note: " + store.readOnlyReason() + "\n";
    }
    return r;
}

CommandResult addEvent(EventStore& store, const std::map<std::string, std::string>& options,
                       int64_t recordingMs) {
    std::string problem;
    const std::optional<int64_t> onset = secondsOption(options, "--onset", problem);
    const std::optional<int64_t> duration =
        onset ? secondsOption(options, "--duration", problem) : std::nullopt;
    if (!onset || !duration) {
        return failure(problem);
    }
    if (*onset + *duration > recordingMs) {
        return failure("the event ends at " + secondsText(*onset + *duration) +
                       " s, after the end of the recording at " + secondsText(recordingMs) + " s");
    }
    Event e{*onset,
            *duration,
            text(options, "--type"),
            text(options, "--comment"),
            splitLabels(text(options, "--channel")),
            currentUser(),
            utcNow()};
    if (e.type.empty()) {
        return failure("--type is missing");
    }
    if (!isUtf8(e.type) || !isUtf8(e.comment)) {
        return failure("the type and the comment must be UTF-8 text");
    }
    if (store.readOnly()) {
        return failure("nothing saved: " + store.readOnlyReason());
    }
    if (store.events().containsFinding(e)) {
        return {0, "already there: " + e.type + " at " + secondsText(e.onsetMs) + " s\n", {}};
    }
    EventList list = store.events();
    list.add(e);
    return saved(store, std::move(list),
                 "added " + e.type + " at " + secondsText(e.onsetMs) + " s");
}

CommandResult removeEvent(EventStore& store, const std::map<std::string, std::string>& options) {
    std::string problem;
    const std::optional<int64_t> onset = secondsOption(options, "--onset", problem);
    const std::string type = text(options, "--type");
    if (!onset || type.empty()) {
        return failure(onset ? "--type is missing" : problem);
    }
    const std::optional<size_t> i = store.events().findAt(*onset, type);
    if (!i) {
        return failure("there is no " + type + " event at " + secondsText(*onset) + " s");
    }
    if (store.readOnly()) {
        return failure("nothing removed: " + store.readOnlyReason());
    }
    EventList list = store.events();
    list.remove(list.at(*i));
    return saved(store, std::move(list), "removed " + type + " at " + secondsText(*onset) + " s");
}

CommandResult importEvents(EventStore& store, const std::string& path) {
    const ParsedEvents parsed = readEventTable(path);
    if (!parsed.problem.empty()) {
        return failure(path + ": " + parsed.problem);
    }
    if (!parsed.badLines.empty()) {
        return failure(path + ": " + lineListText(parsed.badLines) +
                       " cannot be read; nothing imported");
    }
    if (store.readOnly()) {
        return failure("nothing imported: " + store.readOnlyReason());
    }
    EventList list = store.events();
    const size_t added = mergeEvents(list, parsed.events);
    const std::string done = "imported " + std::to_string(added) + " of " +
                             std::to_string(parsed.events.size()) + " events (" +
                             std::to_string(parsed.events.size() - added) + " already there)";
    if (added == 0) {
        return {0, done + "\n", {}};
    }
    return saved(store, std::move(list), done);
}

} // namespace viewer::events
