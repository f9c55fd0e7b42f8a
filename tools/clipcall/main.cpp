// clipcall: runs calls against one video control (offscreen) and prints one JSON object
// per call with its result, the events that came and the messages the control showed.
// See README.md for the call forms.

#include "CClipdeckCtrl.h"
#include "call_parser.h"
#include "invoke.h"
#include "json.h"
#include "script_runner.h"
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
    return runCall(ctrl, call, [&ctrl](const Call& tool, std::string& error) {
        return runClipToolCall(ctrl, tool, error);
    });
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
            if (!parseSize(argv[++i], width, height)) {
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

    return runScript(
        calls,
        [&events, &messages] {
            events.clear();
            messages.clear();
        },
        [&ctrl](Call& call) { return run(ctrl, call); },
        [&events, &messages] {
            return ", \"events\": " + listJson(events) + ", \"messages\": " + listJson(messages);
        });
}
