// The control's saved form: the persistent properties and their defaults.

#include "CViewerCtrl.h"

#include <QStringList>

#include <limits>

namespace {

constexpr int16_t kDefaultNumMont = 0;
constexpr int16_t kDefaultNotchFreq = 50;
constexpr bool kDefaultTraceOverLabel = true;
constexpr int32_t kDefaultFontSize = 10;
constexpr uint32_t kDefaultBackColor = 0x00FFFFFF;
constexpr int16_t kDefaultBorderStyle = 0;

const QString kVersion = QStringLiteral("_Version");
const QStringList kNames = {kVersion,
                            QStringLiteral("BackColor"),
                            QStringLiteral("BorderStyle"),
                            QStringLiteral("numMont"),
                            QStringLiteral("notchFreq"),
                            QStringLiteral("traceOverLabel"),
                            QStringLiteral("fontSize")};

template <typename Int>
Int readInteger(const QVariantMap& form, const QString& name, Int fallback) {
    const auto it = form.find(name);
    if (it == form.end()) {
        return fallback;
    }
    bool ok = false;
    const qlonglong v = it->toLongLong(&ok);
    if (!ok || v < std::numeric_limits<Int>::min() || v > std::numeric_limits<Int>::max()) {
        return fallback;
    }
    return static_cast<Int>(v);
}

bool readBool(const QVariantMap& form, const QString& name, bool fallback) {
    const auto it = form.find(name);
    if (it == form.end() || !it->canConvert<bool>()) {
        return fallback;
    }
    return it->toBool();
}

// Numbers go in as plain int or unsigned so that a settings file keeps them as numbers.
template <typename T>
void putUnlessDefault(QVariantMap& form, const QString& name, T v, T fallback) {
    if (v != fallback) {
        form.insert(name, QVariant::fromValue(v));
    }
}

} // namespace

QVariantMap CViewerCtrl::saveProperties() const {
    QVariantMap form;
    form.insert(kVersion, QStringLiteral("1.0"));
    putUnlessDefault<uint>(form, kNames[1], backColor_, kDefaultBackColor);
    putUnlessDefault<int>(form, kNames[2], borderStyle_, kDefaultBorderStyle);
    putUnlessDefault<int>(form, kNames[3], numMont_, kDefaultNumMont);
    putUnlessDefault<int>(form, kNames[4], notchFreq_, kDefaultNotchFreq);
    putUnlessDefault<bool>(form, kNames[5], traceOverLabel_, kDefaultTraceOverLabel);
    putUnlessDefault<int>(form, kNames[6], fontSize_, kDefaultFontSize);
    return form;
}

void CViewerCtrl::loadProperties(const QVariantMap& form) {
    backColor_ = readInteger<uint32_t>(form, kNames[1], kDefaultBackColor);
    setBorderStyle(readInteger<int16_t>(form, kNames[2], kDefaultBorderStyle));
    numMont_ = readInteger<int16_t>(form, kNames[3], kDefaultNumMont);
    notchFreq_ = readInteger<int16_t>(form, kNames[4], kDefaultNotchFreq);
    traceOverLabel_ = readBool(form, kNames[5], kDefaultTraceOverLabel);
    fontSize_ = readInteger<int32_t>(form, kNames[6], kDefaultFontSize);
    modified_ = false;
    update();
}

void CViewerCtrl::saveProperties(QSettings& settings) const {
    const QVariantMap form = saveProperties();
    for (const QString& name : kNames) {
        if (form.contains(name)) {
            settings.setValue(name, form.value(name));
        } else {
            settings.remove(name);
        }
    }
}

void CViewerCtrl::loadProperties(const QSettings& settings) {
    QVariantMap form;
    for (const QString& name : kNames) {
        if (settings.contains(name)) {
            form.insert(name, settings.value(name));
        }
    }
    loadProperties(form);
}

void CViewerCtrl::resetProperties() {
    numMont_ = kDefaultNumMont;
    notchFreq_ = kDefaultNotchFreq;
    traceOverLabel_ = kDefaultTraceOverLabel;
    fontSize_ = kDefaultFontSize;
}
