#include "DisplayTables.h"

#include <cmath>

namespace DisplayTables {

namespace {

QString padded(long long value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 10, QLatin1Char('0'));
}

} // namespace

QString gainText(int32_t microvoltsPerCm) {
    if (microvoltsPerCm >= 5000) {
        return padded(microvoltsPerCm / 1000, 4) + QStringLiteral(" mV/cm");
    }
    return padded(microvoltsPerCm, 4) + QStringLiteral(" \u00B5V/cm");
}

QString highPassText(int32_t thousandthsHz, const QLocale& locale) {
    // With the filter off the list still shows a number: the lowest cut-off it stands for.
    const double hertz = thousandthsHz == 0 ? 0.008 : thousandthsHz / 1000.0;
    QString text = QStringLiteral("%1").arg(hertz, 6, 'f', 3, QLatin1Char('0'));
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text + QStringLiteral(" Hz");
}

QString lowPassText(int32_t hundredthsHz) {
    return padded(std::llround(hundredthsHz / 100.0), 4) + QStringLiteral(" Hz");
}

QString baseTimeText(int index) { return padded(index + 1, 2) + QStringLiteral(" sec"); }

} // namespace DisplayTables
