#include "event_text.h"

#include "atomic_file.h"
#include "event_store.h"
#include "sidecar_tsv.h"

namespace viewer::events {

std::string annotationText(const Event& e) {
    std::string text = e.type;
    if (!e.lines.empty()) {
        text += " [";
        for (size_t i = 0; i < e.lines.size(); ++i) {
            text += (i > 0 ? "," : "") + e.lines[i];
        }
        text += "]";
    }
    if (!e.comment.empty()) {
        text += ": " + e.comment;
    }
    return text;
}

std::vector<Event> readEventsOnly(const SidecarPlace& place, std::string& warning) {
    FileText file = readWholeFile(place.tsv);
    std::string source = place.tsv;
    if (file.missing && !place.seed.empty()) {
        file = readWholeFile(place.seed);
        source = place.seed;
    }
    if (!file.read) {
        warning = file.missing ? std::string() : file.error;
        return {};
    }
    ParsedEvents parsed = parseEvents(file.text, TableKind::Tabs);
    if (!parsed.whole()) {
        warning =
            source + ": " + lineListText(parsed.badLines) + " cannot be read and were left out";
    }
    return std::move(parsed.events);
}

} // namespace viewer::events
