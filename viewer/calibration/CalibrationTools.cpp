#include "CalibrationTools.h"

#include "CViewerCtrl.h"
#include "CalibrationDialog.h"
#include "ScreenCalibration.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

CalibrationTools::CalibrationTools(QMainWindow& window, CViewerCtrl& trace, QComboBox& pageLengths,
                                   int firstTimeBase, std::function<void()> reapply)
    : QObject(&window), window_(window), trace_(trace), pageLengths_(pageLengths),
      firstTimeBase_(firstTimeBase), reapply_(std::move(reapply)) {
    for (int speed : kSpeeds) {
        pageLengths_.addItem(QStringLiteral("%1 mm/s").arg(speed));
    }
    auto* action = new QAction(QStringLiteral("Calibrate screen…"), this);
    action->setObjectName(QStringLiteral("mnuCalibrateScreen"));
    connect(action, &QAction::triggered, this, &CalibrationTools::calibrate);
    if (auto* view = window_.menuBar()->findChild<QMenu*>(QStringLiteral("mnuView"))) {
        view->addSeparator();
        view->addAction(action);
    } else {
        window_.menuBar()->addAction(action);
    }
    readout_ = new QLabel(&window_);
    readout_->setObjectName(QStringLiteral("lblSensitivity"));
    window_.statusBar()->addPermanentWidget(readout_);
    connect(&trace_, &CViewerCtrl::DeleteNote, this, [this] { readout_->setText(readoutText()); });
    trace_.setPixelsPerCm(ScreenCalibration::pixelsPerCm(screenKey()));
    trace_.installEventFilter(this);
}

QString CalibrationTools::screenKey() const {
    return ScreenCalibration::screenKey(window_.screen());
}

double CalibrationTools::pageSeconds(int index) const {
    const int k = index - firstTimeBase_;
    if (k < 0 || k >= static_cast<int>(kSpeeds.size())) {
        return 0.0;
    }
    const double traceMm = (trace_.clientSize().width() - trace_.GetMaxLarghEtichette()) /
                           trace_.pixelsPerCentimetre() * 10.0;
    return std::max(traceMm, 1.0) / kSpeeds[static_cast<size_t>(k)];
}

bool CalibrationTools::timeBaseChosen() const {
    return pageLengths_.currentIndex() >= firstTimeBase_;
}

QString CalibrationTools::readoutText() const {
    const int32_t gain = trace_.GetGainEEG();
    const double seconds = trace_.secNumber();
    if (gain <= 0 || seconds <= 0.0) {
        return {};
    }
    const double traceMm = (trace_.clientSize().width() - trace_.GetMaxLarghEtichette()) /
                           trace_.pixelsPerCentimetre() * 10.0;
    return QStringLiteral("%1 µV/mm, %2 mm/s%3")
        .arg(QString::number(gain / 10.0, 'g', 4), QString::number(traceMm / seconds, 'f', 1),
             trace_.calibrated() ? QString() : QStringLiteral(" (screen not calibrated)"));
}

void CalibrationTools::calibrate() {
    const QScreen* screen = window_.screen();
    const int widest = screen != nullptr ? screen->availableSize().width() * 9 / 10 : 1000;
    CalibrationDialog dialog(trace_.pixelsPerCentimetre(), widest, &window_);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const double measured = dialog.forgetAsked() ? 0.0 : dialog.measuredPixelsPerCm();
    if (measured > 0.0 || dialog.forgetAsked()) {
        applyCalibration(measured);
    }
}

void CalibrationTools::applyCalibration(double pixelsPerCm) {
    if (pixelsPerCm > 0.0) {
        ScreenCalibration::store(screenKey(), pixelsPerCm);
    } else {
        ScreenCalibration::forget(screenKey());
    }
    trace_.setPixelsPerCm(pixelsPerCm);
    if (timeBaseChosen()) {
        reapply_(); // the page length follows the new millimetres
    } else {
        trace_.Redraw(false);
    }
    readout_->setText(readoutText());
}

bool CalibrationTools::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &trace_ && event->type() == QEvent::Resize && timeBaseChosen() &&
        !reapplyPending_) {
        // Once the resize is over: the traces' width decides the page length.
        reapplyPending_ = true;
        QTimer::singleShot(0, this, [this] {
            reapplyPending_ = false;
            if (timeBaseChosen()) {
                reapply_();
            }
        });
    }
    return QObject::eventFilter(watched, event);
}
