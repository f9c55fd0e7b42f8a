#include "ExportRangeDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

ExportRangeDialog::ExportRangeDialog(QWidget* parent, const QTime& pageTime, const QTime& endTime,
                                     const QString& output)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ExportRangeDialog"));
    setWindowTitle(tr("Export to EDF+"));
    whole_ = new QRadioButton(tr("The whole recording"), this);
    whole_->setChecked(true);
    fromHere_ = new QRadioButton(tr("The pages from the one on screen (%1) to")
                                     .arg(pageTime.toString(QStringLiteral("HH:mm:ss"))),
                                 this);
    end_ = new QTimeEdit(endTime, this);
    end_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    end_->setEnabled(false);
    connect(fromHere_, &QRadioButton::toggled, end_, &QWidget::setEnabled);

    output_ = new QLineEdit(output, this);
    output_->setMinimumWidth(360);
    auto* browse = new QPushButton(tr("Browse..."), this);
    connect(browse, &QPushButton::clicked, this, &ExportRangeDialog::browse);

    auto* range = new QHBoxLayout;
    range->addWidget(fromHere_);
    range->addWidget(end_);
    range->addStretch();
    auto* file = new QHBoxLayout;
    file->addWidget(output_);
    file->addWidget(browse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("Export"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(whole_);
    layout->addLayout(range);
    auto* form = new QFormLayout;
    form->addRow(tr("File:"), file);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

bool ExportRangeDialog::wholeRecording() const { return whole_->isChecked(); }

QString ExportRangeDialog::endTime() const {
    return end_->time().toString(QStringLiteral("HH:mm:ss"));
}

QString ExportRangeDialog::output() const { return output_->text(); }

void ExportRangeDialog::browse() {
    // The export asks before it replaces a file, so the file dialog need not.
    const QString chosen = QFileDialog::getSaveFileName(
        this, tr("Export to EDF+"), output_->text(),
        tr("EDF+ and BDF+ files (*.edf *.bdf);;All files (*)"), nullptr,
        QFileDialog::DontConfirmOverwrite | QFileDialog::DontUseNativeDialog);
    if (!chosen.isEmpty()) {
        output_->setText(chosen);
    }
}
