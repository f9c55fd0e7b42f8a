#include "table_text.h"

namespace viewer::events {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

bool unescapeInto(std::string_view field, std::string& out) {
    out.clear();
    if (field.find('\\') == std::string_view::npos) {
        out.assign(field);
        return true;
    }
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            out += field[i];
            continue;
        }
        if (++i == field.size()) {
            return false;
        }
        switch (field[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case ',':
            out += "\\,";
            break;
        default:
            return false;
        }
    }
    return true;
}

bool tabFields(std::string_view line, std::vector<std::string>& fields) {
    size_t start = 0;
    for (size_t n = 0;; ++n) {
        const size_t tab = line.find('\t', start);
        if (n == fields.size()) {
            fields.emplace_back();
        }
        if (!unescapeInto(line.substr(start, tab - start), fields[n])) {
            return false;
        }
        if (tab == std::string_view::npos) {
            fields.resize(n + 1);
            return true;
        }
        start = tab + 1;
    }
}

bool commaFields(std::string_view line, std::vector<std::string>& fields) {
    fields.assign(1, std::string());
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"' && trimmed(fields.back()).empty()) {
            fields.back().clear();
            quoted = true;
        } else if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    if (quoted) {
        return false;
    }
    for (std::string& f : fields) {
        const std::string_view kept = trimmed(f);
        const auto from = static_cast<size_t>(kept.data() - f.data());
        f.erase(from + kept.size()).erase(0, from);
    }
    return true;
}

} // namespace

bool isUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t more = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if ((c >> 4) == 0xE) {
            more = 2;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
        } else if (c >= 0x80) {
            return false;
        }
        if (i + more >= text.size() && more > 0) {
            return false;
        }
        for (size_t k = 1; k <= more; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) {
                return false;
            }
        }
        i += more + 1;
    }
    return true;
}

std::vector<TableLine> tableLines(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    std::vector<TableLine> lines;
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!trimmed(line).empty()) {
            lines.push_back({number, line});
        }
        start = end + 1;
    }
    return lines;
}

bool splitRow(std::string_view line, TableKind kind, std::vector<std::string>& fields) {
    if (!isUtf8(line)) {
        return false;
    }
    return kind == TableKind::Tabs ? tabFields(line, fields) : commaFields(line, fields);
}

std::vector<std::string> splitLabels(std::string_view text) {
    std::vector<std::string> labels;
    std::string current;
    auto finish = [&] {
        const std::string_view label = trimmed(current);
        if (!label.empty()) {
            labels.emplace_back(label);
        }
        current.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == ',') {
            current += ',';
            ++i;
        } else if (text[i] == ',') {
            finish();
        } else {
            current += text[i];
        }
    }
    finish();
    return labels;
}

} // namespace viewer::events
