#pragma once
// The loop the scripting tools share: run each call against a control and print one JSON
// object per call.

#include "call_parser.h"
#include "invoke.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

namespace tracecall {

// Runs a parsed call: members through the meta-object, tool calls (@name) through `tool`.
Outcome runCall(QObject& target, const Call& call,
                const std::function<std::string(const Call&, std::string&)>& tool);

// For each text of `calls`: `before()`, parse, `run`, let pending events run, then print
// {"call", "result", "out" (only for calls with out parameters)} followed by what `fields()`
// adds (", \"events\": [...]" and the like), or {"call", "error"} when the call could not be
// made. Returns 2 when any call failed, else 0.
int runScript(const std::vector<std::string>& calls, const std::function<void()>& before,
              const std::function<Outcome(Call&)>& run, const std::function<std::string()>& fields);

// Reads "WxH" with both sides positive.
bool parseSize(const char* text, int& width, int& height);

// A JSON list of JSON values.
std::string listJson(const std::vector<std::string>& items);

} // namespace tracecall
