#pragma once
// Edits one reviewer event: its type, comment, onset, duration and the lines it concerns.

#include "EventTypes.h"
#include "event_record.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QListWidget;

class EventDialog : public QDialog {
public:
    // `lineLabels` are the lines of the montage on screen; `lengthSeconds` the recording's.
    EventDialog(QWidget* parent, const viewer::events::Event& event, const EventTypes& types,
                const QStringList& lineLabels, double lengthSeconds);

    // The event as the dialog holds it now (who made it and when stay as they were).
    viewer::events::Event result() const;

    QComboBox* type() const { return type_; }
    QLineEdit* comment() const { return comment_; }
    QDoubleSpinBox* onset() const { return onset_; }
    QDoubleSpinBox* duration() const { return duration_; }
    QListWidget* lines() const { return lines_; }

private:
    viewer::events::Event original_;
    QComboBox* type_ = nullptr;
    QLineEdit* comment_ = nullptr;
    QDoubleSpinBox* onset_ = nullptr;
    QDoubleSpinBox* duration_ = nullptr;
    QListWidget* lines_ = nullptr;
};
