#include "GoToTime.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

constexpr int64_t kDay = 86400;

// "h", "h:mm" or "h:mm:ss" style parts as seconds; every part after the first below 60. The
// last part may carry a fraction ("45.250", as the status bar shows times): pages start at
// whole seconds, so it is left out.
std::optional<int64_t> partsToSeconds(const QString& text, int minParts) {
    QStringList parts = text.split(QLatin1Char(':'));
    const qsizetype point = parts.last().indexOf(QLatin1Char('.'));
    if (point >= 0) {
        const QString fraction = parts.last().mid(point + 1).trimmed();
        if (fraction.isEmpty() ||
            !std::all_of(fraction.begin(), fraction.end(), [](QChar c) { return c.isDigit(); })) {
            return std::nullopt;
        }
        parts.last().truncate(point);
    }
    if (parts.size() < minParts || parts.size() > 3) {
        return std::nullopt;
    }
    int64_t total = 0;
    for (int i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const QString part = parts[i].trimmed();
        const qlonglong value = part.toLongLong(&ok);
        if (!ok || part.isEmpty() || !part.at(0).isDigit() || value > 1000000000 ||
            (i > 0 && value >= 60)) {
            return std::nullopt;
        }
        total = total * 60 + value;
    }
    return total;
}

TimeTarget refuse(const QString& why) { return {false, 0, why}; }

TimeTarget clockTarget(int64_t wanted, int32_t totalSeconds,
                       const std::function<int32_t(int32_t)>& clockOf) {
    int64_t previous = 0;
    for (int32_t s = 0; s < totalSeconds; ++s) {
        const int64_t clock = clockOf(s);
        if (((clock - wanted) % kDay + kDay) % kDay == 0) {
            return {true, s, {}};
        }
        // A jump over the wanted time of day: that stretch was cut out of the file.
        const int64_t next = previous + 1 + ((wanted - previous - 1) % kDay + kDay) % kDay;
        if (s > 0 && next < clock) {
            return refuse(QStringLiteral("%1 was cut out of the recording; it resumes at %2.")
                              .arg(clockText(wanted), clockText(clock)));
        }
        previous = clock;
    }
    return refuse(QStringLiteral("%1 is not within the recording (%2 to %3).")
                      .arg(clockText(wanted), clockText(clockOf(0)),
                           clockText(clockOf(std::max(totalSeconds - 1, 0)))));
}

} // namespace

QString clockText(int64_t secondsOfDay) {
    const int64_t s = (secondsOfDay % kDay + kDay) % kDay;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

TimeTarget parseTimeTarget(const QString& text, int32_t totalSeconds,
                           const std::function<int32_t(int32_t)>& clockOf) {
    const QString t = text.trimmed();
    if (totalSeconds <= 0) {
        return refuse(QStringLiteral("No recording with data is open."));
    }
    if (t.startsWith(QLatin1Char('+'))) {
        const std::optional<int64_t> elapsed = partsToSeconds(t.mid(1), 1);
        if (!elapsed) {
            return refuse(
                QStringLiteral("Write a time from the start as +754, +12:34 or +1:02:03."));
        }
        if (*elapsed >= totalSeconds) {
            return refuse(QStringLiteral("+%1 s is past the end of the recording (%2 s long).")
                              .arg(*elapsed)
                              .arg(totalSeconds));
        }
        return {true, static_cast<int32_t>(*elapsed), {}};
    }
    const std::optional<int64_t> clock = partsToSeconds(t, 2);
    if (!clock || *clock >= kDay) {
        return refuse(QStringLiteral("Write a clock time as 10:23:45 or a time from the start "
                                     "as +754."));
    }
    // "10:23" is hours and minutes.
    const int64_t wanted = t.count(QLatin1Char(':')) == 1 ? *clock * 60 : *clock;
    if (wanted >= kDay) {
        return refuse(QStringLiteral("A clock time runs from 00:00:00 to 23:59:59."));
    }
    return clockTarget(wanted, totalSeconds, clockOf);
}

GoToTimeDialog::GoToTimeDialog(QWidget* parent, int32_t totalSeconds,
                               std::function<int32_t(int32_t)> clockOf)
    : QDialog(parent), totalSeconds_(totalSeconds), clockOf_(std::move(clockOf)) {
    setWindowTitle(QStringLiteral("Go to time"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("Clock time (10:23:45) or time from the start (+754, +12:34):"), this));
    input_ = new QLineEdit(this);
    input_->setObjectName(QStringLiteral("goToTimeInput"));
    layout->addWidget(input_);
    message_ = new QLabel(this);
    message_->setStyleSheet(QStringLiteral("color: #a00000"));
    message_->setWordWrap(true);
    layout->addWidget(message_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &GoToTimeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &GoToTimeDialog::reject);
    layout->addWidget(buttons);
}

void GoToTimeDialog::accept() {
    target_ = parseTimeTarget(input_->text(), totalSeconds_, clockOf_);
    if (!target_.ok) {
        message_->setText(target_.error);
        adjustSize(); // the whole message, however many lines it wraps to
        return;
    }
    QDialog::accept();
}
