#include "ViewerSettings.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

const QString kGroup = QStringLiteral("Settings");

QString groupKey(const QString& key) { return kGroup + QLatin1Char('/') + key; }

} // namespace

ViewerSettings::ViewerSettings()
    : store_(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Viewer"),
             QStringLiteral("Viewer")) {}

bool ViewerSettings::readNumber(const QString& key, double& value) const {
    const QVariant stored = store_.value(groupKey(key));
    if (!stored.isValid()) {
        return false;
    }
    bool ok = false;
    const double number = QLocale::c().toDouble(stored.toString().trimmed(), &ok);
    if (!ok || !std::isfinite(number)) {
        return false;
    }
    value = std::nearbyint(number);
    return true;
}

int32_t ViewerSettings::readInt(const QString& key, int32_t fallback) const {
    double value = 0;
    if (!readNumber(key, value) || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        return fallback;
    }
    return static_cast<int32_t>(value);
}

uint32_t ViewerSettings::readUInt(const QString& key, uint32_t fallback) const {
    double value = 0;
    if (!readNumber(key, value) || value < 0 || value > std::numeric_limits<uint32_t>::max()) {
        return fallback;
    }
    return static_cast<uint32_t>(value);
}

bool ViewerSettings::readBool(const QString& key, bool fallback) const {
    const QVariant stored = store_.value(groupKey(key));
    if (!stored.isValid()) {
        return fallback;
    }
    const QString text = stored.toString().trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        return false;
    }
    double value = 0;
    if (!readNumber(key, value)) {
        return fallback;
    }
    return value != 0;
}

void ViewerSettings::write(const QString& key, long long value) {
    store_.setValue(groupKey(key), QString::number(value));
    store_.sync();
}
