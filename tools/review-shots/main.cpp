// review-shots RECORDING FOLDER: opens RECORDING in the main window and saves the pictures
// of the user guide into FOLDER: the window with the time ruler, with the notes panel, with a
// measurement ruler drawn over the traces, with reviewer events marked on the page, in the
// double banana, the montage editor, the screen calibration, and with the trend panel and the
// page spectrum. Run it on a display (scripts/make-screenshots runs it under Xvfb).

#include "CViewerCtrl.h"
#include "CalibrationDialog.h"
#include "MontageEditor.h"
#include "MontageLinesView.h"
#include "MontageList.h"
#include "MyScrollBar.h"
#include "events/EventsOverlay.h"
#include "events/EventsTools.h"
#include "frmView.h"
#include "review/MeasureOverlay.h"
#include "review/NotesPanel.h"
#include "review/ReviewTools.h"
#include "trends/PagePower.h"
#include "trends/TrendsPanel.h"
#include "trends/TrendsRunner.h"
#include "trends/TrendsTools.h"

#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <cmath>
#include <cstdio>
#include <utility>

namespace {

// Saved with a palette of at most 256 colours: the pictures stay small.
bool save(QWidget& window, const QString& path) {
    QApplication::processEvents();
    QTest::qWait(300);
    const QImage shot =
        window.grab().toImage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    return shot.save(path, "PNG", 9);
}

void sendMouse(QWidget& target, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, at, target.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &event);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: review-shots RECORDING FOLDER\n");
        return 2;
    }
    // Settings of this run only: the user's own stay untouched.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit()); // no montage files of the user
    qputenv("XDG_CACHE_HOME", settings.path().toLocal8Bit());  // nor trends of the user's cache
    const QString folder = QString::fromLocal8Bit(argv[2]);

    frmView window;
    window.Form_Load(QString());
    window.review().notes().hide();
    window.resize(1280, 760);
    window.show();
    window.OpenTrace(QString::fromLocal8Bit(argv[1]));
    window.hscroll1()->setValue(580);
    bool ok = save(window, folder + QStringLiteral("/main-window.png"));

    NotesPanel& notes = window.review().notes();
    notes.show();
    QApplication::processEvents();
    notes.list()->setCurrentIndex(notes.model().index(5, 0));
    QTest::keyClick(notes.list(), Qt::Key_Return);
    ok = save(window, folder + QStringLiteral("/notes-panel.png")) && ok;

    notes.hide();
    QApplication::processEvents();
    QWidget& overlay = window.review().overlay();
    const int y = window.ViewTrace1()->rowCentre().at(2);
    const QPoint from(window.ViewTrace1()->GetPixelPosition(3000), y - 25);
    const QPoint to(window.ViewTrace1()->GetPixelPosition(3400), y + 25);
    sendMouse(overlay, QEvent::MouseButtonPress, from, Qt::RightButton, Qt::RightButton);
    sendMouse(overlay, QEvent::MouseMove, to, Qt::NoButton, Qt::RightButton);
    ok = save(window, folder + QStringLiteral("/measurement.png")) && ok;
    sendMouse(overlay, QEvent::MouseButtonRelease, to, Qt::RightButton, Qt::NoButton);
    window.review().overlay().clearRuler();
    window.review().readout().clear();

    QComboBox& montages = *window.cmbViewMode();
    montages.setCurrentIndex(montages.findText(QStringLiteral(" Double banana")));
    emit montages.activated(montages.currentIndex());
    ok = save(window, folder + QStringLiteral("/montages.png")) && ok;
    {
        // The montage editor on a copy of the double banana: a line against the mean of two
        // electrodes, another inverted; the page behind shows them.
        MontageEditor editor(*window.ViewTrace1(), window.montages(), &window);
        editor.addMontage(window.montages().standard()[0]);
        editor.lines().topLevelItem(0)->setText(MontageLinesView::Derivation,
                                                QStringLiteral("Fp1 - 0.5 F7 - 0.5 F3"));
        editor.lines().topLevelItem(4)->setCheckState(MontageLinesView::Inverted, Qt::Checked);
        editor.lines().setCurrentItem(editor.lines().topLevelItem(0));
        editor.resize(1100, 560);
        editor.show();
        ok = save(editor, folder + QStringLiteral("/montage-editor.png")) && ok;
        editor.hide();
        editor.done(QDialog::Rejected);
    }
    {
        CalibrationDialog calibration(window.ViewTrace1()->pixelsPerCentimetre(), 1000, &window);
        calibration.show();
        ok = save(calibration, folder + QStringLiteral("/calibration.png")) && ok;
    }
    montages.setCurrentIndex(0);
    emit montages.activated(0);

    // Events: a seizure over a span, a spike on one line, an artefact, marked with the mouse,
    // the notes panel listing them beside the recording's notes.
    window.hscroll1()->setValue(580);
    QApplication::processEvents();
    EventsOverlay& events = window.events().overlay();
    const auto mark = [&](const char* type, double from, double to, int line) {
        const int y = window.ViewTrace1()->contentsRect().top() +
                      window.ViewTrace1()->rowCentre().at(static_cast<size_t>(line));
        const int x0 = static_cast<int>(events.scale().xOf(std::llround(from * 1000)));
        const int x1 = static_cast<int>(events.scale().xOf(std::llround(to * 1000)));
        const Qt::KeyboardModifiers mods =
            line > 0 ? Qt::ControlModifier | Qt::AltModifier : Qt::ControlModifier;
        events.setCurrentType(QLatin1String(type));
        for (const auto& [kind, x] :
             {std::pair{QEvent::MouseButtonPress, x0}, std::pair{QEvent::MouseMove, x1},
              std::pair{QEvent::MouseButtonRelease, x1}}) {
            QMouseEvent e(kind, QPoint(x, y), overlay.mapToGlobal(QPoint(x, y)), Qt::LeftButton,
                          kind == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, mods);
            QCoreApplication::sendEvent(&overlay, &e);
        }
    };
    mark("Seizure", 583.0, 589.4, 0);
    mark("Spike", 581.3, 581.3, 2);
    mark("Artefact", 580.2, 580.9, 0);
    notes.show();
    window.resizeDocks({&notes}, {440}, Qt::Horizontal);
    ok = save(window, folder + QStringLiteral("/events.png")) && ok;

    // Trends: the panel above the traces with the whole recording computed, the mouse
    // hovering over the left temporal spectral array; the page spectrum beside the traces.
    notes.hide();
    TrendsPanel& trends = window.trends().panel();
    trends.toggleViewAction()->trigger();
    window.trends().spectrum().toggleViewAction()->trigger();
    window.resize(1400, 900);
    window.resizeDocks({&window.trends().spectrum()}, {380}, Qt::Horizontal);
    for (int i = 0; i < 1200 && !window.trends().runner().complete(); ++i) {
        QTest::qWait(50);
    }
    QTest::qWait(700);
    TrendsCanvas& canvas = *trends.canvas();
    const TrendsLayout layout(canvas.rect(), QFontMetrics(trendsFont()).height());
    sendMouse(canvas, QEvent::MouseMove,
              QPoint(layout.xAt(660.0, canvas.view()), layout.regions[0].center().y()),
              Qt::NoButton, Qt::NoButton);
    ok = save(window, folder + QStringLiteral("/trends.png")) && ok;
    return ok ? 0 : 1;
}
