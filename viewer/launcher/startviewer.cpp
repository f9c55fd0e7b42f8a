// startviewer: the launcher of the viewer program. It shows a window titled "StartViewer" while
// the viewer starts on the recording given here; the viewer closes that window once the
// recording is open, and the launcher ends with it. Without a recording it starts the viewer
// on an empty window and ends.

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <utility>

namespace {

// The launcher's window. Its first paint means it is mapped on the display, so the viewer
// can find it by title from then on: that is the moment to start the viewer, not later.
class LauncherWindow : public QLabel {
public:
    LauncherWindow(const QString& text, std::function<void()> onShown)
        : QLabel(text), onShown_(std::move(onShown)) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (onShown_) {
            // Queued, so that this paint reaches the display before the viewer starts.
            QTimer::singleShot(0, this, std::exchange(onShown_, nullptr));
        }
    }

private:
    std::function<void()> onShown_;
};

} // namespace

int main(int argc, char** argv) {
    // The viewer finds this window on the X display; under Wayland it must be an X window too.
    if (!qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    const QString viewer =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("viewer"));
    // Without a file (the desktop menu), the viewer opens an empty window; nothing to wait for.
    if (args.isEmpty()) {
        if (!QProcess::startDetached(viewer, {})) {
            std::fprintf(stderr, "startviewer: cannot start %s\n", qPrintable(viewer));
            return 1;
        }
        return 0;
    }
    const auto startViewer = [&] {
        qint64 pid = 0;
        if (!QProcess::startDetached(viewer, args, QString(), &pid)) {
            std::fprintf(stderr, "startviewer: cannot start %s\n", qPrintable(viewer));
            QCoreApplication::exit(1);
            return;
        }
        std::printf("viewer pid %lld\n", static_cast<long long>(pid));
        std::fflush(stdout);
    };
    LauncherWindow window(
        QStringLiteral("Starting Viewer on %1 ...").arg(args.join(QLatin1Char(' '))), startViewer);
    window.setWindowTitle(QStringLiteral("StartViewer"));
    window.setMargin(24);
    window.show();

    // A viewer that never asks to close this window has failed to start.
    QTimer::singleShot(60000, &app, [] { QCoreApplication::exit(3); });
    return QApplication::exec();
}
