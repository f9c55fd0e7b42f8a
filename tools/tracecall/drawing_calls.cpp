#include "drawing_calls.h"

#include "CViewerCtrl.h"
#include "json.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QImage>
#include <QPixmap>

namespace tracecall {

namespace {

bool pathArg(const Call& call, std::string& path) {
    if (call.args.size() != 1 || call.args[0].kind != Argument::Kind::Text) {
        return false;
    }
    path = call.args[0].text;
    return !path.empty();
}

std::string saved(const QImage& image, const std::string& path, std::string& error) {
    if (image.isNull()) {
        error = "nothing to save: the control has no drawing area";
        return {};
    }
    if (!image.save(QString::fromStdString(path), "PNG")) {
        error = "cannot write " + path;
        return {};
    }
    return "{\"path\": " + jsonString(path) + ", \"width\": " + std::to_string(image.width()) +
           ", \"height\": " + std::to_string(image.height()) + "}";
}

ToolCall imageCall(const char* name, QImage (*image)(CViewerCtrl&)) {
    return [name, image](CViewerCtrl& ctrl, const Call& call, std::string& error) {
        std::string path;
        if (!pathArg(call, path)) {
            error = std::string("@") + name + " takes one file path in double quotes";
            return std::string();
        }
        return saved(image(ctrl), path, error);
    };
}

std::string resizeCall(CViewerCtrl& ctrl, const Call& call, std::string& error) {
    const bool sizes = call.args.size() == 2 && call.args[0].kind == Argument::Kind::Integer &&
                       call.args[1].kind == Argument::Kind::Integer;
    if (!sizes || call.args[0].integer <= 0 || call.args[1].integer <= 0 ||
        call.args[0].integer > 16384 || call.args[1].integer > 16384) {
        error = "@resize takes a width and a height, 1 to 16384 pixels";
        return {};
    }
    ctrl.resize(static_cast<int>(call.args[0].integer), static_cast<int>(call.args[1].integer));
    QCoreApplication::processEvents();
    return "{\"width\": " + std::to_string(ctrl.width()) +
           ", \"height\": " + std::to_string(ctrl.height()) +
           ", \"labelWidth\": " + std::to_string(ctrl.GetMaxLarghEtichette()) + "}";
}

// A digest of the page layer's pixels (SHA-256 over every row's visible bytes), so that pages
// drawn by two builds can be compared without saving pictures.
std::string digestCall(CViewerCtrl& ctrl, const Call& call, std::string& error) {
    const QImage& layer = ctrl.pageLayer();
    if (!call.args.empty() || layer.isNull()) {
        error = call.args.empty() ? "nothing to digest: the control has no drawing area"
                                  : "@digest takes no arguments";
        return {};
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const auto rowBytes = static_cast<qsizetype>(layer.width()) * layer.depth() / 8;
    for (int y = 0; y < layer.height(); ++y) {
        hash.addData(QByteArrayView(layer.constScanLine(y), rowBytes));
    }
    return jsonString(hash.result().toHex().toStdString());
}

} // namespace

void addDrawingCalls(std::map<std::string, ToolCall>& calls) {
    calls["render"] = imageCall("render", [](CViewerCtrl& c) { return c.pageLayer(); });
    calls["static"] = imageCall("static", [](CViewerCtrl& c) { return c.staticLayer(); });
    calls["paint"] = imageCall("paint", [](CViewerCtrl& c) { return c.grab().toImage(); });
    calls["resize"] = resizeCall;
    calls["digest"] = digestCall;
}

} // namespace tracecall
