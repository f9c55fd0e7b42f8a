#include "EventDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>

#include <algorithm>
#include <cmath>

namespace ev = viewer::events;

namespace {

QDoubleSpinBox* secondsBox(QWidget* parent, double value, double max) {
    auto* box = new QDoubleSpinBox(parent);
    box->setDecimals(3);
    box->setRange(0.0, std::max(max, value));
    box->setSingleStep(0.1);
    box->setSuffix(QStringLiteral(" s"));
    box->setValue(value);
    return box;
}

} // namespace

EventDialog::EventDialog(QWidget* parent, const ev::Event& event, const EventTypes& types,
                         const QStringList& lineLabels, double lengthSeconds)
    : QDialog(parent), original_(event) {
    setWindowTitle(QStringLiteral("Edit event"));
    setObjectName(QStringLiteral("eventDialog"));
    auto* form = new QFormLayout(this);
    type_ = new QComboBox(this);
    type_->setEditable(true);
    for (const EventType& t : types.all()) {
        type_->addItem(t.name);
    }
    type_->setCurrentText(QString::fromStdString(event.type));
    comment_ = new QLineEdit(QString::fromStdString(event.comment), this);
    onset_ = secondsBox(this, event.onsetMs / 1000.0, lengthSeconds);
    duration_ = secondsBox(this, event.durationMs / 1000.0, lengthSeconds);
    lines_ = new QListWidget(this);
    QStringList labels = lineLabels;
    for (const std::string& l : event.lines) {
        if (!labels.contains(QString::fromStdString(l))) {
            labels << QString::fromStdString(l); // a line of another montage
        }
    }
    for (const QString& label : labels) {
        auto* item = new QListWidgetItem(label, lines_);
        const bool on = std::find(event.lines.begin(), event.lines.end(), label.toStdString()) !=
                        event.lines.end();
        item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
    form->addRow(QStringLiteral("Type:"), type_);
    form->addRow(QStringLiteral("Comment:"), comment_);
    form->addRow(QStringLiteral("Onset (from the start):"), onset_);
    form->addRow(QStringLiteral("Duration (0 for an instant):"), duration_);
    form->addRow(QStringLiteral("Lines (none ticked: all):"), lines_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

ev::Event EventDialog::result() const {
    ev::Event e = original_;
    const QString type = type_->currentText().trimmed();
    e.type = type.isEmpty() ? original_.type : type.toStdString();
    e.comment = comment_->text().toStdString();
    e.onsetMs = std::llround(onset_->value() * 1000.0);
    e.durationMs = std::llround(duration_->value() * 1000.0);
    e.lines.clear();
    for (int i = 0; i < lines_->count(); ++i) {
        if (lines_->item(i)->checkState() == Qt::Checked) {
            e.lines.push_back(lines_->item(i)->text().toStdString());
        }
    }
    return e;
}
