#pragma once
// The types of reviewer events the reviewer chooses from, each with its colour: a list the
// reviewer can edit, kept in the settings group "EventTypes". The first nine are also made
// by Ctrl+1 .. Ctrl+9.

#include <QColor>
#include <QString>

#include <vector>

struct EventType {
    QString name;
    QColor colour;
};

class EventTypes {
public:
    // Spike, Sharp wave, Spike-and-wave, Seizure, Artefact, Sleep spindle, Arousal, Sleep
    // stage, Comment.
    static std::vector<EventType> starting();
    // The stored list, or the starting one when none is stored.
    static EventTypes load();
    // Stores the list in the settings.
    void save() const;

    explicit EventTypes(std::vector<EventType> types) : types_(std::move(types)) {}
    const std::vector<EventType>& all() const { return types_; }
    // The colour of `name`; a type not in the list (an imported one) gets a colour of its own
    // made from its name, the same every time.
    QColor colourOf(const QString& name) const;

private:
    std::vector<EventType> types_;
};
