// The viewer program. Until its main window is built, a bare window hosts the trace
// control on the recording named on the command line.

#include "CViewerCtrl.h"

#include <QApplication>
#include <QMainWindow>
#include <QStringList>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* trace = new CViewerCtrl(&window);
    window.setCentralWidget(trace);
    window.resize(1200, 800);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (!args.isEmpty()) {
        const QString path = args.join(QLatin1Char(' '));
        if (trace->FileName(path) == 0) {
            window.setWindowTitle(trace->GetSurName() + QLatin1Char(' ') + trace->GetName());
        }
    }
    window.show();
    return QApplication::exec();
}
