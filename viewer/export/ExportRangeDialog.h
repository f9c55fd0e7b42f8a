#pragma once
// Asks what to export to EDF+ and where: the whole recording, or the pages from the one on
// screen to a clock time, and the file to write.

#include <QDialog>
#include <QString>
#include <QTime>

class QLineEdit;
class QRadioButton;
class QTimeEdit;

class ExportRangeDialog : public QDialog {
    Q_OBJECT

public:
    // `pageTime` is the clock time of the page on screen, `endTime` the recording's last
    // clock time, `output` the file offered.
    ExportRangeDialog(QWidget* parent, const QTime& pageTime, const QTime& endTime,
                      const QString& output);

    bool wholeRecording() const;
    // The end time chosen, as "HH:MM:SS".
    QString endTime() const;
    QString output() const;

private:
    void browse();

    QRadioButton* whole_ = nullptr;
    QRadioButton* fromHere_ = nullptr;
    QTimeEdit* end_ = nullptr;
    QLineEdit* output_ = nullptr;
};
