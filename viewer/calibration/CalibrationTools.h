#pragma once
// The calibrated screen in the main window: View > Calibrate screen…, the calibration of the
// window's screen put in the trace control at start, the time bases 15, 30 and 60 mm/s after
// the page lengths of the page-length list, and a readout of the sensitivity (µV/mm) and
// paper speed (mm/s) in the status bar.

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class CViewerCtrl;
class QComboBox;
class QLabel;
class QMainWindow;

class CalibrationTools : public QObject {
public:
    static constexpr std::array<int, 3> kSpeeds = {15, 30, 60}; // mm/s

    // `firstTimeBase`: the list index of "15 mm/s" (the page lengths come before it);
    // `reapply` runs the page-length list's handler for the entry chosen (the page length
    // follows the traces' width).
    CalibrationTools(QMainWindow& window, CViewerCtrl& trace, QComboBox& pageLengths,
                     int firstTimeBase, std::function<void()> reapply);

    // The page length in seconds of list entry `index` when it is a time base: the traces'
    // width in millimetres over the speed; 0 for any other entry.
    double pageSeconds(int index) const;
    bool timeBaseChosen() const;

    // Shows the calibration dialog for the window's screen and applies what it gives.
    void calibrate();
    // Makes the screen `pixelsPerCm` (0: not calibrated, as specified), keeps it for the
    // window's screen and redraws.
    void applyCalibration(double pixelsPerCm);

    QLabel& readout() const { return *readout_; }
    // The sensitivity and speed of the page on screen, e.g. "7 µV/mm, 30 mm/s".
    QString readoutText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString screenKey() const;

    QMainWindow& window_;
    CViewerCtrl& trace_;
    QComboBox& pageLengths_;
    int firstTimeBase_;
    std::function<void()> reapply_;
    QLabel* readout_ = nullptr;
    bool reapplyPending_ = false;
};
