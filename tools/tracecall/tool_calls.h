#pragma once
// The tool's own calls (@name) that look inside the trace control's recording.

#include "call_parser.h"

#include <functional>
#include <map>
#include <string>

class CViewerCtrl;

namespace tracecall {

// One tool call: its JSON result, or `error` set.
using ToolCall = std::function<std::string(CViewerCtrl&, const Call&, std::string&)>;

// Runs tool call `call`; returns its JSON result, or sets `error` for an unknown name or
// wrong arguments.
std::string runToolCall(CViewerCtrl& ctrl, const Call& call, std::string& error);

} // namespace tracecall
