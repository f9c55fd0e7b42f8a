#pragma once
// Lines and fields of an events table: tab-separated with escapes, or comma-separated with
// quotes.

#include "sidecar_tsv.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace viewer::events {

struct TableLine {
    int number = 0; // 1-based, in the file
    std::string_view text;
};

// The lines of `text` that hold anything, without line ends and without a leading byte-order
// mark.
std::vector<TableLine> tableLines(std::string_view text);

// The fields of one line into `fields` (their storage reused), unescaped (tabs) or unquoted
// (commas); false when the line is not UTF-8, holds a bad escape or an unclosed quote. "\,"
// stays as it is for splitLabels.
bool splitRow(std::string_view line, TableKind kind, std::vector<std::string>& fields);

// Labels separated by commas ("\," is a comma inside a label), blanks around them dropped.
std::vector<std::string> splitLabels(std::string_view text);

// True when `text` is well-formed UTF-8.
bool isUtf8(std::string_view text);

} // namespace viewer::events
