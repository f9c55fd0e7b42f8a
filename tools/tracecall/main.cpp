// tracecall: runs calls against one trace control without a window and prints one JSON
// object per call. See README.md for the call forms.

#include "CViewerCtrl.h"
#include "call_parser.h"
#include "invoke.h"
#include "json.h"
#include "script_runner.h"
#include "summary.h"
#include "tool_calls.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace tracecall;

namespace {

std::string eventJson(const std::string& name, const std::vector<std::string>& args) {
    std::string s = "[";
    s += jsonString(name);
    for (const std::string& a : args) {
        s += ", " + a;
    }
    return s + "]";
}

int usage() {
    std::fprintf(stderr, "usage: tracecall [--size WxH] [--screen-height N] CALL...\n"
                         "       tracecall --summary FILE\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    std::vector<std::string> calls;
    int width = 1000;
    int height = 600;
    // The display height the line scale assumes, whatever screen the tool runs on.
    int screenHeight = 1080;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (!parseSize(argv[++i], width, height)) {
                return usage();
            }
        } else if (std::strcmp(argv[i], "--screen-height") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%d", &screenHeight) != 1 || screenHeight <= 0) {
                return usage();
            }
        } else if (std::strcmp(argv[i], "--summary") == 0 && i + 1 < argc) {
            CViewerCtrl ctrl;
            return printSummary(ctrl, QString::fromLocal8Bit(argv[i + 1]));
        } else {
            calls.emplace_back(argv[i]);
        }
    }
    if (calls.empty()) {
        return usage();
    }

    CViewerCtrl ctrl;
    ctrl.setVerticalResolution(screenHeight);
    ctrl.resize(width, height);
    ctrl.show();
    QCoreApplication::processEvents();

    std::vector<std::string> events;
    QObject::connect(&ctrl, &CViewerCtrl::DeleteNote,
                     [&] { events.push_back(eventJson("DeleteNote", {})); });
    QObject::connect(&ctrl, &CViewerCtrl::NoteNotification,
                     [&](int16_t numNota, int32_t posPix, const QString& noteText) {
                         events.push_back(eventJson("NoteNotification", {std::to_string(numNota),
                                                                         std::to_string(posPix),
                                                                         jsonString(noteText)}));
                     });
    QObject::connect(&ctrl, &CViewerCtrl::CambiatoMontaggio,
                     [&] { events.push_back(eventJson("CambiatoMontaggio", {})); });

    return runScript(
        calls, [&events] { events.clear(); },
        [&ctrl](Call& call) {
            return runCall(ctrl, call, [&ctrl](const Call& tool, std::string& error) {
                return runToolCall(ctrl, tool, error);
            });
        },
        [&events] { return ", \"events\": " + listJson(events); });
}
