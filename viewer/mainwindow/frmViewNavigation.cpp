// Paging, automatic paging, note search and the reaction to every change of position.

#include "frmView.h"

#include "CViewerCtrl.h"
#include "MyScrollBar.h"
#include "scroll_value.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// An automation date (days since 30 December 1899, the fraction the time of day) as the
// locale's date and time, to the second.
QString dateTimeText(double automationDate) {
    const double days = std::floor(automationDate);
    const auto seconds = static_cast<int>(std::lround((automationDate - days) * 86400.0));
    const QDate date = QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
    const QTime time = QTime(0, 0).addSecs(std::min(seconds, 86399));
    const QLocale locale;
    QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
    if (!dateFormat.contains(QLatin1String("yyyy"))) {
        dateFormat.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(date, dateFormat) + QLatin1Char(' ') +
           locale.toString(time, timeFormat.trimmed());
}

// The whole part of a note time, within the 32-bit range.
int32_t wholePart(float t) {
    const double whole = std::trunc(static_cast<double>(t));
    if (!(whole > std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(std::min<double>(whole, std::numeric_limits<int32_t>::max()));
}

} // namespace

int32_t frmView::toWholeSeconds(double seconds) {
    const double whole = scrollbar::roundHalfEven(seconds);
    if (!(whole >= std::numeric_limits<int32_t>::min())) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(std::min<double>(whole, std::numeric_limits<int32_t>::max()));
}

void frmView::setPosition(int32_t sec) { hscroll1_->setValue(sec); }

void frmView::hscroll1_change() {
    if (changeRunning_) {
        // Pending events let run inside the handler brought another change: it is handled,
        // from the scroll bar's latest Value, once the running one is done.
        changePending_ = true;
        return;
    }
    changeRunning_ = true;
    do {
        changePending_ = false;
        showPosition();
    } while (changePending_);
    changeRunning_ = false;
}

void frmView::showPosition() {
    posSec_ = toWholeSeconds(hscroll1_->Value());
    pageDrawn_ = ViewTrace1_->DrawPage(posSec_);
    if (button(QStringLiteral("video"))->isChecked()) {
        video_->pageChanged(posSec_);
        QCoreApplication::processEvents();
    }
    const double when = ViewTrace1_->GetDateTimeFromSeconds(posSec_);
    if (when != 0 && std::isfinite(when)) {
        lblTime_->setText(dateTimeText(when));
    }
}

void frmView::posInizioTrc() {
    posSec_ = 0;
    setPosition(0);
}

void frmView::PaginaIndietro() {
    pageDrawn_ = true;
    posSec_ = toWholeSeconds(posSec_ - static_cast<double>(ViewTrace1_->secNumber()));
    if (posSec_ < 0) {
        posSec_ = 0;
        beep();
    }
    setPosition(posSec_);
}

void frmView::PaginaAvanti() {
    if (!pageDrawn_) {
        beep();
        return;
    }
    posSec_ = std::min(toWholeSeconds(posSec_ + static_cast<double>(ViewTrace1_->secNumber())),
                       hscroll1_->max());
    setPosition(posSec_);
}

void frmView::posFineTrc() {
    posSec_ = std::max(
        toWholeSeconds(ViewTrace1_->totalTrcSec() - static_cast<double>(ViewTrace1_->secNumber())),
        0);
    setPosition(std::min(posSec_, hscroll1_->max()));
}

void frmView::AvantiAuto() {
    if (button(QStringLiteral("avantiAuto"))->isChecked()) {
        AutoMove_->start();
        button(QStringLiteral("indietroAuto"))->setChecked(false);
    } else {
        AutoMove_->stop();
    }
}

void frmView::IndietroAuto() {
    if (button(QStringLiteral("indietroAuto"))->isChecked()) {
        AutoMove_->start();
        button(QStringLiteral("avantiAuto"))->setChecked(false);
    } else {
        AutoMove_->stop();
    }
}

void frmView::stopAutoMove(QAction* pressed) {
    AutoMove_->stop();
    pressed->setChecked(false);
    beep();
}

void frmView::AutoMove_Timer() {
    QAction* forward = button(QStringLiteral("avantiAuto"));
    QAction* backward = button(QStringLiteral("indietroAuto"));
    const double page = ViewTrace1_->secNumber();
    if (forward->isChecked()) {
        if (!pageDrawn_) {
            stopAutoMove(forward);
            return;
        }
        posSec_ = std::min(toWholeSeconds(posSec_ + page), hscroll1_->max());
        setPosition(posSec_);
    } else if (backward->isChecked()) {
        pageDrawn_ = true;
        if (posSec_ < 1) {
            stopAutoMove(backward);
            return;
        }
        posSec_ = std::max(toWholeSeconds(posSec_ - page), 0);
        setPosition(posSec_);
    }
}

void frmView::CercaNotaPrec() {
    int32_t i = 0;
    for (; i < std::numeric_limits<int32_t>::max(); ++i) {
        const float t = ViewTrace1_->GetPosNote(i);
        if (t == 0 || wholePart(t) >= posSec_) {
            break;
        }
    }
    if (i == 0) {
        beep();
        return;
    }
    posSec_ = wholePart(ViewTrace1_->GetPosNote(i - 1));
    setPosition(posSec_);
}

void frmView::CercaNotaSucc() {
    float t = 0;
    for (int32_t i = 0; i < std::numeric_limits<int32_t>::max(); ++i) {
        t = ViewTrace1_->GetPosNote(i);
        if (t == 0 || wholePart(t) > posSec_) {
            break;
        }
    }
    if (t == 0) {
        beep();
        return;
    }
    posSec_ = std::min(wholePart(t), hscroll1_->max());
    setPosition(posSec_);
}
