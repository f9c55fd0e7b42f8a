#pragma once
// Tool calls that save what the trace control draws and change its size.

#include "tool_calls.h"

namespace tracecall {

// Adds @render(path) (the page layer as PNG), @static(path) (the static layer), @paint(path)
// (what painting the control puts on screen) and @resize(w, h) to `calls`.
void addDrawingCalls(std::map<std::string, ToolCall>& calls);

} // namespace tracecall
