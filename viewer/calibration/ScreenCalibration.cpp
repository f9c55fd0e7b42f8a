#include "ScreenCalibration.h"

#include <QScreen>
#include <QSettings>

#include <cmath>
#include <memory>

namespace {

constexpr char kGroup[] = "ScreenCalibration";
// Calibrations outside these are measuring mistakes (a screen of 1 to 2000 pixels per cm).
constexpr double kFewestPixelsPerCm = 1.0;
constexpr double kMostPixelsPerCm = 2000.0;

// The program's settings file, in the calibrations' group.
std::unique_ptr<QSettings> group() {
    auto s = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                         QStringLiteral("Viewer"), QStringLiteral("Viewer"));
    s->beginGroup(QLatin1String(kGroup));
    return s;
}

bool plausible(double v) {
    return std::isfinite(v) && v >= kFewestPixelsPerCm && v <= kMostPixelsPerCm;
}

} // namespace

QString ScreenCalibration::screenKey(const QScreen* screen) {
    if (screen == nullptr) {
        return QStringLiteral("screen");
    }
    QString name = screen->name();
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return QStringLiteral("%1 %2x%3")
        .arg(name.isEmpty() ? QStringLiteral("screen") : name)
        .arg(screen->size().width())
        .arg(screen->size().height());
}

double ScreenCalibration::pixelsPerCm(const QString& key) {
    bool ok = false;
    const double v = group()->value(key).toString().toDouble(&ok);
    return ok && plausible(v) ? v : 0.0;
}

void ScreenCalibration::store(const QString& key, double pixelsPerCm) {
    group()->setValue(key, QString::number(pixelsPerCm, 'g', 10));
}

void ScreenCalibration::forget(const QString& key) { group()->remove(key); }

double ScreenCalibration::fromMeasure(int barPixels, double measuredMm) {
    if (barPixels <= 0 || !std::isfinite(measuredMm) || measuredMm <= 0.0) {
        return 0.0;
    }
    const double v = barPixels / (measuredMm / 10.0);
    return plausible(v) ? v : 0.0;
}
