#pragma once
// Tool calls that show the montage in force, its line derivations, the page buffer and the
// values and filter coefficients of each line.

#include "tool_calls.h"

namespace tracecall {

// Adds @use("NAME") (any montage of the list by name), @montage, @lines, @buffer(f0, f1), @trace(i)
// and @coefficients(i) to `calls`.
void addMontageCalls(std::map<std::string, ToolCall>& calls);

} // namespace tracecall
