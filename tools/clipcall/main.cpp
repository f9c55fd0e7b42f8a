// clipcall: runs calls against one video control (offscreen) and prints one JSON object
// per call with its result, the events that came and the messages the control showed.
// See README.md for the call forms.

#include "CClipdeckCtrl.h"
#include "call_parser.h"
#include "invoke.h"
#include "json.h"
#include "tool_calls.h"

#include <QApplication>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace tracecall;

namespace {

// Milliseconds travel as a double: written with a decimal point, as the event declares.
std::string millisecondsJson(double v) {
    if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) < 1e15) {
        return std::to_string(static_cast<long long>(v)) + ".0";
    }
    return jsonDouble(v);
}

std::string listJson(const std::vector<std::string>& items) {
    std::string s = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        s += (i ? ", " : "") + items[i];
    }
    return s + "]";
}

int usage() {
    std::fprintf(stderr, "usage: clipcall [--size WxH] CALL...\n");
    return 2;
}

// `FileName("clip.mpg")` reads like a method call; the control has it as a property.
void callPropertiesLikeMethods(const QObject& target, Call& call) {
    if (call.kind != Call::Kind::Method ||
        target.metaObject()->indexOfProperty(call.name.c_str()) < 0) {
        return;
    }
    if (call.args.size() == 1) {
        call.kind = Call::Kind::Write;
    } else if (call.args.empty()) {
        call.kind = Call::Kind::Read;
    }
}

Outcome run(CClipdeckCtrl& ctrl, Call& call) {
    callPropertiesLikeMethods(ctrl, call);
    Outcome outcome;
    switch (call.kind) {
    case Call::Kind::Method:
        return invokeMethod(ctrl, call);
    case Call::Kind::Write:
        return writeProperty(ctrl, call);
    case Call::Kind::Read:
        return readProperty(ctrl, call);
    case Call::Kind::Tool:
        outcome.result = runClipToolCall(ctrl, call, outcome.error);
        break;
    }
    return outcome;
}

// Keeps the control's events and messages as JSON arrays instead of showing them.
void record(CClipdeckCtrl& ctrl, std::vector<std::string>& events,
            std::vector<std::string>& messages) {
    ctrl.setMessageReporter([&messages](const QString& caption, const QString& text) {
        messages.push_back("[" + jsonString(caption) + ", " + jsonString(text) + "]");
    });
    QObject::connect(&ctrl, &CClipdeckCtrl::Complete, [&events] {
        events.push_back("[" + jsonString(std::string("Complete")) + "]");
    });
    QObject::connect(&ctrl, &CClipdeckCtrl::PositionChange, [&events](double posizione) {
        events.push_back("[" + jsonString(std::string("PositionChange")) + ", " +
                         millisecondsJson(posizione) + "]");
    });
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::vector<std::string> calls;
    int width = 320;
    int height = 240;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width <= 0 ||
                height <= 0) {
                return usage();
            }
        } else {
            calls.emplace_back(argv[i]);
        }
    }
    if (calls.empty()) {
        return usage();
    }

    CClipdeckCtrl ctrl;
    ctrl.resize(width, height);
    ctrl.show();
    QCoreApplication::processEvents();

    std::vector<std::string> events;
    std::vector<std::string> messages;
    record(ctrl, events, messages);

    bool failed = false;
    for (const std::string& text : calls) {
        events.clear();
        messages.clear();
        std::string error;
        Outcome outcome;
        if (auto call = parseCall(text, error)) {
            outcome = run(ctrl, *call);
            QCoreApplication::processEvents();
            error = outcome.error;
        }
        if (!error.empty()) {
            failed = true;
            std::printf("{\"call\": %s, \"error\": %s}\n", jsonString(text).c_str(),
                        jsonString(error).c_str());
            continue;
        }
        std::printf("{\"call\": %s, \"result\": %s, \"events\": %s, \"messages\": %s}\n",
                    jsonString(text).c_str(), outcome.result.c_str(), listJson(events).c_str(),
                    listJson(messages).c_str());
        std::fflush(stdout);
    }
    return failed ? 2 : 0;
}
