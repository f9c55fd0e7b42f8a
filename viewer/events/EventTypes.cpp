#include "EventTypes.h"

#include <QSettings>

namespace {

QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Viewer"),
                     QStringLiteral("Viewer"));
}

} // namespace

std::vector<EventType> EventTypes::starting() {
    return {
        {QStringLiteral("Spike"), QColor(220, 30, 30)},
        {QStringLiteral("Sharp wave"), QColor(230, 120, 0)},
        {QStringLiteral("Spike-and-wave"), QColor(170, 0, 120)},
        {QStringLiteral("Seizure"), QColor(200, 0, 0)},
        {QStringLiteral("Artefact"), QColor(110, 110, 110)},
        {QStringLiteral("Sleep spindle"), QColor(0, 120, 200)},
        {QStringLiteral("Arousal"), QColor(0, 150, 90)},
        {QStringLiteral("Sleep stage"), QColor(90, 60, 180)},
        {QStringLiteral("Comment"), QColor(150, 120, 0)},
    };
}

EventTypes EventTypes::load() {
    QSettings settings = store();
    settings.beginGroup(QStringLiteral("EventTypes"));
    const int count = settings.value(QStringLiteral("Count"), 0).toInt();
    std::vector<EventType> types;
    for (int i = 1; i <= count && i <= 200; ++i) {
        const QString name = settings.value(QStringLiteral("Name%1").arg(i)).toString().trimmed();
        const QColor colour(settings.value(QStringLiteral("Colour%1").arg(i)).toString());
        if (!name.isEmpty()) {
            types.push_back({name, colour.isValid() ? colour : QColor(Qt::darkGray)});
        }
    }
    return EventTypes(types.empty() ? starting() : std::move(types));
}

void EventTypes::save() const {
    QSettings settings = store();
    settings.remove(QStringLiteral("EventTypes"));
    settings.beginGroup(QStringLiteral("EventTypes"));
    settings.setValue(QStringLiteral("Count"), QString::number(types_.size()));
    for (size_t i = 0; i < types_.size(); ++i) {
        settings.setValue(QStringLiteral("Name%1").arg(i + 1), types_[i].name);
        settings.setValue(QStringLiteral("Colour%1").arg(i + 1), types_[i].colour.name());
    }
}

QColor EventTypes::colourOf(const QString& name) const {
    for (const EventType& t : types_) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0) {
            return t.colour;
        }
    }
    return QColor::fromHsv(static_cast<int>(qHash(name) % 360), 160, 170);
}
