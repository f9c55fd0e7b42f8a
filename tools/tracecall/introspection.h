#pragma once
// The tool's own calls (@name) that look inside the trace control's recording.

#include "call_parser.h"

#include <string>

class CViewerCtrl;

namespace tracecall {

// Runs tool call `call`; returns its JSON result, or sets `error` for an unknown name or
// wrong arguments.
std::string runToolCall(CViewerCtrl& ctrl, const Call& call, std::string& error);

} // namespace tracecall
