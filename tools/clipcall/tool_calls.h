#pragma once
// The tool's own calls (@name) on a video control:
//   @wait(ms)      runs the event loop for that long (the events that came are reported)
//   @frame(path)   saves what the control paints as a PNG file
//   @graph         lists the names of the elements in the control's pipeline

#include "call_parser.h"

#include <string>

class CClipdeckCtrl;

namespace tracecall {

// Runs tool call `call`; returns its JSON result, or sets `error` for an unknown name or
// wrong arguments.
std::string runClipToolCall(CClipdeckCtrl& ctrl, const Call& call, std::string& error);

} // namespace tracecall
