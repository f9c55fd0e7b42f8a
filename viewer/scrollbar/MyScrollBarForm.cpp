// The scroll bar's saved form: save and load of its properties.

#include "MyScrollBar.h"

#include <QSettings>

#include <array>
#include <limits>

namespace {

// The names the form uses, one per property.
constexpr std::array<const char*, 10> kFormNames = {
    "Enabled",    "smallChange", "min",   "max",         "realWidth",
    "ChangeType", "timeUnit",    "Value", "largeChange", "scrollingChangeEvent"};

template <typename Int> Int readInteger(const QVariantMap& form, const char* name, Int fallback) {
    const auto it = form.find(QLatin1String(name));
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

double readDouble(const QVariantMap& form, const char* name, double fallback) {
    const auto it = form.find(QLatin1String(name));
    if (it == form.end()) {
        return fallback;
    }
    bool ok = false;
    const double v = it->toDouble(&ok);
    return ok ? v : fallback;
}

bool readBool(const QVariantMap& form, const char* name, bool fallback) {
    const auto it = form.find(QLatin1String(name));
    if (it == form.end() || !it->canConvert<bool>()) {
        return fallback;
    }
    return it->toBool();
}

void putUnlessDefault(QVariantMap& form, const char* name, const QVariant& v,
                      const QVariant& fallback) {
    if (v != fallback) {
        form.insert(QLatin1String(name), v);
    }
}

} // namespace

QVariantMap MyScrollBar::saveProperties() const {
    QVariantMap form;
    putUnlessDefault(form, "Enabled", Enabled(), false);
    putUnlessDefault(form, "smallChange", smallChange(), 1);
    putUnlessDefault(form, "min", min(), 0);
    putUnlessDefault(form, "max", max(), 100);
    putUnlessDefault(form, "realWidth", realWidth(), 0);
    // As a plain int: settings files store it as a number, where a short would become binary.
    putUnlessDefault(form, "ChangeType", int(ChangeType()), 0);
    putUnlessDefault(form, "timeUnit", timeUnit(), QVariant::fromValue<int16_t>(0));
    putUnlessDefault(form, "Value", Value(), 0.0);
    putUnlessDefault(form, "largeChange", largeChange(), 1.0);
    putUnlessDefault(form, "scrollingChangeEvent", scrollingChangeEvent(), true);
    return form;
}

void MyScrollBar::loadProperties(const QVariantMap& form) {
    enabled_ = readBool(form, "Enabled", false);
    smallChange_ = readInteger<int32_t>(form, "smallChange", 1);
    min_ = readInteger<int32_t>(form, "min", 0);
    max_ = readInteger<int32_t>(form, "max", 100);
    realWidth_ = readInteger<int32_t>(form, "realWidth", 0);
    changeType_ = readInteger<int16_t>(form, "ChangeType", 0);
    timeUnit_ = form.value(QStringLiteral("timeUnit"), QVariant::fromValue<int16_t>(0));
    value_ = readDouble(form, "Value", 0.0);
    largeChange_ = readDouble(form, "largeChange", 1.0);
    scrollingChangeEvent_ = readBool(form, "scrollingChangeEvent", true);
    dragging_ = false;
    modified_ = false;
    ReCalc();
}

void MyScrollBar::saveProperties(QSettings& settings) const {
    const QVariantMap form = saveProperties();
    for (const char* name : kFormNames) {
        const QString key = QLatin1String(name);
        if (form.contains(key)) {
            settings.setValue(key, form.value(key));
        } else {
            settings.remove(key);
        }
    }
}

void MyScrollBar::loadProperties(const QSettings& settings) {
    QVariantMap form;
    for (const char* name : kFormNames) {
        const QString key = QLatin1String(name);
        if (settings.contains(key)) {
            form.insert(key, settings.value(key));
        }
    }
    loadProperties(form);
}
