#include "tool_calls.h"

#include "CClipdeckCtrl.h"
#include "json.h"

#include <QEventLoop>
#include <QPixmap>
#include <QTimer>

namespace tracecall {

namespace {

std::string waitFor(const Call& call, std::string& error) {
    if (call.args.size() != 1 || call.args[0].kind != Argument::Kind::Integer ||
        call.args[0].integer < 0) {
        error = "@wait takes a number of milliseconds";
        return {};
    }
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(call.args[0].integer), &loop, &QEventLoop::quit);
    loop.exec();
    return "null";
}

std::string saveFrame(CClipdeckCtrl& ctrl, const Call& call, std::string& error) {
    if (call.args.size() != 1 || call.args[0].kind != Argument::Kind::Text) {
        error = "@frame takes the path of a PNG file in double quotes";
        return {};
    }
    return ctrl.grab().save(QString::fromStdString(call.args[0].text), "PNG") ? "true" : "false";
}

std::string listGraph(CClipdeckCtrl& ctrl, const Call& call, std::string& error) {
    if (!call.args.empty()) {
        error = "@graph takes no arguments";
        return {};
    }
    std::string list = "[";
    const QStringList names = ctrl.graphElementNames();
    for (int i = 0; i < names.size(); ++i) {
        list += (i ? ", " : "") + jsonString(names[i]);
    }
    return list + "]";
}

} // namespace

std::string runClipToolCall(CClipdeckCtrl& ctrl, const Call& call, std::string& error) {
    if (call.name == "wait") {
        return waitFor(call, error);
    }
    if (call.name == "frame") {
        return saveFrame(ctrl, call, error);
    }
    if (call.name == "graph") {
        return listGraph(ctrl, call, error);
    }
    error = "no tool call named @" + call.name;
    return {};
}

} // namespace tracecall
