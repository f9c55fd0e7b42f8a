#pragma once
// The screen calibrations the user made, one per screen, in the settings group
// "ScreenCalibration" of the program's settings file: logical pixels per centimetre, measured
// with a ruler on a drawn bar.

#include <QString>

class QScreen;

class ScreenCalibration {
public:
    // The key a screen's calibration is kept under: its name and size in logical pixels.
    static QString screenKey(const QScreen* screen);
    // Pixels per centimetre kept for `key`; 0 when that screen was never calibrated (or the
    // value kept does not read as a length).
    static double pixelsPerCm(const QString& key);
    static void store(const QString& key, double pixelsPerCm);
    static void forget(const QString& key);
    // Pixels per centimetre of a screen on which a bar of `barPixels` measured `measuredMm`
    // millimetres; 0 for a measure that cannot be one (not above 0, not finite).
    static double fromMeasure(int barPixels, double measuredMm);
};
