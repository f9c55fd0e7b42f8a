#pragma once
// Go to time: a clock time of the recording ("10:23:45", "10:23") or a time from its start
// ("+754", "+12:34", "+1:02:03") turned into the second of the file where the page should
// start, and the small dialog that asks for it.

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;

struct TimeTarget {
    bool ok = false;
    int32_t second = 0; // second of the file, valid when ok
    QString error;      // why nothing moves, when not ok
};

// `clockOf(s)` is the time of day of file second s in seconds, not wrapped at midnight (the
// trace control's GetMont, which adds the stretches cut out of the file). A clock time is
// found at its first occurrence in the recording, also after midnight; a clock time in a
// stretch that was cut out, or outside the recording, is refused.
TimeTarget parseTimeTarget(const QString& text, int32_t totalSeconds,
                           const std::function<int32_t(int32_t)>& clockOf);

// "hh:mm:ss" of a time of day in seconds, wrapped at midnight.
QString clockText(int64_t secondsOfDay);

// Asks for a time until it names a second of the recording, or the user cancels.
class GoToTimeDialog : public QDialog {
public:
    GoToTimeDialog(QWidget* parent, int32_t totalSeconds, std::function<int32_t(int32_t)> clockOf);

    int32_t second() const { return target_.second; }
    QLineEdit* input() const { return input_; }
    QLabel* message() const { return message_; }

    void accept() override;

private:
    int32_t totalSeconds_;
    std::function<int32_t(int32_t)> clockOf_;
    TimeTarget target_;
    QLineEdit* input_ = nullptr;
    QLabel* message_ = nullptr;
};
