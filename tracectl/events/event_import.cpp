#include "event_import.h"

#include "atomic_file.h"

#include <algorithm>
#include <cctype>

namespace viewer::events {

ParsedEvents readEventTable(const std::string& path) {
    const FileText file = readWholeFile(path);
    if (!file.read) {
        ParsedEvents failed;
        failed.problem = file.error;
        return failed;
    }
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const bool commas = lower.size() >= 4 && lower.compare(lower.size() - 4, 4, ".csv") == 0;
    return parseEvents(file.text, commas ? TableKind::Commas : TableKind::Tabs);
}

size_t mergeEvents(EventList& list, const std::vector<Event>& incoming) {
    size_t added = 0;
    for (const Event& e : incoming) {
        if (!list.containsFinding(e)) {
            list.add(e);
            ++added;
        }
    }
    return added;
}

} // namespace viewer::events
