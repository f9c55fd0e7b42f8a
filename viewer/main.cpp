// The viewer program: the main window on the recording named on the command line.

#include "StepTiming.h"
#include "ViewerError.h"
#include "frmView.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    const auto mainStart = StepTiming::Clock::now();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Viewer"));
    // The whole argument text, as it stands, is the trace path.
    const QString commandLine = QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));

    frmView window;
    StepTiming::installIfAsked(*window.ViewTrace1(), mainStart);
    try {
        window.Form_Load(commandLine);
    } catch (const ViewerError& error) {
        // Nothing handles an error out of the start-up: the user sees it and the program ends.
        std::fprintf(stderr, "viewer: error %d: %s\n", error.number(),
                     error.description().toLocal8Bit().constData());
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Viewer"), error.description(),
                        QMessageBox::Ok);
        box.exec();
        return 1;
    }
    window.show();
    return QApplication::exec();
}
