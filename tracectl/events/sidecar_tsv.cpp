#include "sidecar_tsv.h"

#include "table_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace viewer::events {

namespace {

constexpr std::string_view kNothing = "n/a";
constexpr std::array<std::string_view, 7> kColumns = {
    "onset", "duration", "trial_type", "channel", "comment", "annotator", "created"};

std::string orNothing(std::string text) { return text.empty() ? std::string(kNothing) : text; }

std::string channelText(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) {
        if (!joined.empty()) {
            joined += ',';
        }
        // A comma inside a label would split it: it is escaped like the other specials.
        for (const char c : escapeText(line)) {
            if (c == ',') {
                joined += '\\';
            }
            joined += c;
        }
    }
    return joined;
}

// Seconds as text to whole milliseconds; nothing for no number or one out of range.
std::optional<int64_t> millisecondsOf(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(seconds) || std::abs(seconds) > 1e12) {
        return std::nullopt;
    }
    return std::llround(seconds * 1000.0);
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// Where each field of an event is found in a row; -1 when the table has no such column.
struct ColumnMap {
    int onset = -1, duration = -1, type = -1, channel = -1, comment = -1, annotator = -1,
        created = -1;
};

ColumnMap mapColumns(const std::vector<std::string>& header) {
    ColumnMap map;
    for (int i = static_cast<int>(header.size()) - 1; i >= 0; --i) {
        const std::string name = lowered(header[static_cast<size_t>(i)]);
        int* slot = name == "onset"       ? &map.onset
                    : name == "duration"  ? &map.duration
                    : name == "channel"   ? &map.channel
                    : name == "comment"   ? &map.comment
                    : name == "annotator" ? &map.annotator
                    : name == "created"   ? &map.created
                                          : nullptr;
        if (slot != nullptr) {
            *slot = i;
        }
    }
    // The type: the first of these names that the table has.
    for (const char* name : {"trial_type", "type", "description", "value"}) {
        const auto it = std::find_if(header.begin(), header.end(),
                                     [name](const std::string& h) { return lowered(h) == name; });
        if (it != header.end()) {
            map.type = static_cast<int>(it - header.begin());
            break;
        }
    }
    return map;
}

std::string field(const std::vector<std::string>& row, int column) {
    if (column < 0) {
        return {};
    }
    const std::string& text = row[static_cast<size_t>(column)];
    return text == kNothing ? std::string() : text;
}

std::optional<Event> eventOf(const std::vector<std::string>& row, const ColumnMap& map) {
    const std::optional<int64_t> onset = millisecondsOf(row[static_cast<size_t>(map.onset)]);
    const std::string durationText = field(row, map.duration);
    const std::optional<int64_t> duration =
        durationText.empty() ? std::optional<int64_t>(0) : millisecondsOf(durationText);
    if (!onset || !duration || *duration < 0) {
        return std::nullopt;
    }
    Event e;
    e.onsetMs = *onset;
    e.durationMs = *duration;
    e.type = field(row, map.type);
    e.comment = field(row, map.comment);
    e.annotator = field(row, map.annotator);
    e.created = field(row, map.created);
    e.lines = splitLabels(field(row, map.channel));
    return e;
}

} // namespace

std::string secondsText(int64_t ms) {
    const uint64_t magnitude = ms < 0 ? 0 - static_cast<uint64_t>(ms) : static_cast<uint64_t>(ms);
    std::string fraction = std::to_string(magnitude % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    std::string text = ms < 0 ? "-" : "";
    text += std::to_string(magnitude / 1000);
    text += '.';
    text += fraction;
    return text;
}

std::string escapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string formatSidecar(const std::vector<Event>& events) {
    std::string out;
    out.reserve(64 + events.size() * 80);
    for (size_t i = 0; i < kColumns.size(); ++i) {
        out += kColumns[i];
        out += i + 1 < kColumns.size() ? '\t' : '\n';
    }
    for (const Event& e : events) {
        out += secondsText(e.onsetMs) + '\t' + secondsText(e.durationMs) + '\t' +
               orNothing(escapeText(e.type)) + '\t' + orNothing(channelText(e.lines)) + '\t' +
               orNothing(escapeText(e.comment)) + '\t' + orNothing(escapeText(e.annotator)) + '\t' +
               orNothing(escapeText(e.created)) + '\n';
    }
    return out;
}

std::string sidecarDescription() {
    return R"({
    "onset": {
        "Description": "Start of the event, in seconds from the start of the recording's data.",
        "Units": "s"
    },
    "duration": {
        "Description": "Length of the event in seconds; 0 for an instant.",
        "Units": "s"
    },
    "trial_type": {
        "Description": "Type of the event as the reviewer named it (Spike, Seizure, Artefact, ...)."
    },
    "channel": {
        "Description": "Labels of the lines the event concerns, separated by commas; n/a for all lines."
    },
    "comment": {
        "Description": "The reviewer's comment; n/a for none."
    },
    "annotator": {
        "Description": "User name of the reviewer who marked the event."
    },
    "created": {
        "Description": "When the event was marked, ISO 8601 in UTC."
    }
}
)";
}

ParsedEvents parseEvents(std::string_view text, TableKind kind) {
    ParsedEvents parsed;
    const std::vector<TableLine> lines = tableLines(text);
    if (lines.empty()) {
        return parsed; // an empty file holds no events
    }
    std::vector<std::string> header;
    const ColumnMap map =
        splitRow(lines.front().text, kind, header) ? mapColumns(header) : ColumnMap{};
    if (map.onset < 0 || map.duration < 0) {
        parsed.problem = "the first line names no onset and duration columns";
        parsed.badLines.push_back(lines.front().number);
        return parsed;
    }
    parsed.events.reserve(lines.size() - 1);
    std::vector<std::string> row;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::optional<Event> event;
        if (splitRow(lines[i].text, kind, row) && row.size() == header.size()) {
            event = eventOf(row, map);
        }
        if (event) {
            parsed.events.push_back(std::move(*event));
        } else {
            parsed.badLines.push_back(lines[i].number);
        }
    }
    return parsed;
}

} // namespace viewer::events
