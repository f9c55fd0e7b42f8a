#pragma once
// View > Calibrate screen…: a bar drawn 10 cm long as the screen is taken to be; the user
// measures it with a ruler and enters its length, which gives the screen's pixels per
// centimetre.

#include <QDialog>

class QDoubleSpinBox;

class CalibrationDialog : public QDialog {
public:
    // `pixelsPerCm`: what the screen is taken to be now (the bar is 10 cm by it, never wider
    // than `widest` pixels).
    CalibrationDialog(double pixelsPerCm, int widest, QWidget* parent = nullptr);

    int barPixels() const { return barPixels_; }
    // Enters the measured length (as the user types it).
    void setMeasuredMm(double mm);
    // Pixels per centimetre from the length entered; 0 when it cannot be one.
    double measuredPixelsPerCm() const;
    // The user asked to forget the calibration.
    bool forgetAsked() const { return forget_; }

private:
    int barPixels_ = 0;
    QDoubleSpinBox* length_ = nullptr;
    bool forget_ = false;
};
