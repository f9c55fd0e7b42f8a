#include "WindowPlacement.h"

#include "ViewerSettings.h"
#include "video_helpers.h"

namespace WindowPlacement {

namespace {

constexpr double kTwipsPerInch = 1440.0;
enum State : int32_t { Normal = 0, Minimised = 1, Maximised = 2 };

} // namespace

double twipsPerPixelX(const QWidget& window) { return kTwipsPerInch / window.logicalDpiX(); }

double twipsPerPixelY(const QWidget& window) { return kTwipsPerInch / window.logicalDpiY(); }

void restore(QWidget& window, const QString& prefix, const Defaults& defaults) {
    const ViewerSettings settings;
    const int32_t left = settings.readInt(prefix + QStringLiteral("Left"), defaults.left);
    const int32_t top = settings.readInt(prefix + QStringLiteral("Top"), defaults.top);
    const int32_t width = settings.readInt(prefix + QStringLiteral("Width"), defaults.width);
    const int32_t height = settings.readInt(prefix + QStringLiteral("Height"), defaults.height);
    const double x = twipsPerPixelX(window);
    const double y = twipsPerPixelY(window);
    window.move(videotime::wholeNumber(left / x), videotime::wholeNumber(top / y));
    window.resize(videotime::wholeNumber(width / x), videotime::wholeNumber(height / y));
    switch (settings.readInt(prefix + QStringLiteral("WindowState"), Normal)) {
    case Minimised:
        window.setWindowState(Qt::WindowMinimized);
        break;
    case Maximised:
        window.setWindowState(Qt::WindowMaximized);
        break;
    default:
        window.setWindowState(Qt::WindowNoState);
        break;
    }
}

void save(const QWidget& window, const QString& prefix) {
    if (window.isMinimized()) {
        return;
    }
    ViewerSettings settings;
    if (window.isMaximized()) {
        settings.write(prefix + QStringLiteral("WindowState"), Maximised);
        return;
    }
    const double x = twipsPerPixelX(window);
    const double y = twipsPerPixelY(window);
    settings.write(prefix + QStringLiteral("WindowState"), Normal);
    settings.write(prefix + QStringLiteral("Left"), videotime::wholeNumber(window.x() * x));
    settings.write(prefix + QStringLiteral("Top"), videotime::wholeNumber(window.y() * y));
    settings.write(prefix + QStringLiteral("Width"), videotime::wholeNumber(window.width() * x));
    settings.write(prefix + QStringLiteral("Height"), videotime::wholeNumber(window.height() * y));
}

} // namespace WindowPlacement
