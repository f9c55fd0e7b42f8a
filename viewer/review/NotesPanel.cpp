#include "NotesPanel.h"

#include "CViewerCtrl.h"
#include "GoToTime.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kSecondsRole = Qt::UserRole;

QString elapsedText(float seconds) {
    const auto s = static_cast<int64_t>(std::floor(seconds));
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

std::vector<NoteRow> noteRows(CViewerCtrl& trace) {
    std::vector<NoteRow> rows;
    for (int32_t i = 0;; ++i) {
        const float t = trace.GetPosNote(i);
        if (t == 0) {
            break;
        }
        rows.push_back({t, clockText(trace.GetTime(t)), elapsedText(t), trace.noteText(i)});
    }
    return rows;
}

int32_t noteJumpTarget(float seconds, int32_t scrollMax) {
    const double whole = std::trunc(static_cast<double>(seconds));
    const double limited = std::clamp<double>(whole, std::numeric_limits<int32_t>::min(),
                                              std::numeric_limits<int32_t>::max());
    return std::min(static_cast<int32_t>(limited), scrollMax);
}

bool noteOnPage(float seconds, int32_t posSec, double pageSeconds) {
    return seconds >= posSec && seconds < posSec + pageSeconds;
}

NotesPanel::NotesPanel(CViewerCtrl& trace, std::function<void(float)> jump, QWidget* parent)
    : QDockWidget(QStringLiteral("Notes"), parent), trace_(trace), jump_(std::move(jump)) {
    setObjectName(QStringLiteral("notesPanel"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    filter_ = new QLineEdit(body);
    filter_->setPlaceholderText(QStringLiteral("Filter notes"));
    filter_->setClearButtonEnabled(true);
    list_ = new QTreeWidget(body);
    list_->setHeaderLabels(
        {QStringLiteral("Clock"), QStringLiteral("From start"), QStringLiteral("Note")});
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->installEventFilter(this);
    // Neither takes the focus when the window comes up: the keys belong to the traces until
    // the user clicks here.
    filter_->setFocusPolicy(Qt::ClickFocus);
    list_->setFocusPolicy(Qt::ClickFocus);
    layout->addWidget(filter_);
    layout->addWidget(list_);
    setWidget(body);
    connect(filter_, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(filter_, &QLineEdit::returnPressed, this, [this] { jumpToFirstShown(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this,
            [this](const QTreeWidgetItem* item) { jumpTo(item); });
}

void NotesPanel::reload() {
    list_->clear();
    for (const NoteRow& row : noteRows(trace_)) {
        auto* item = new QTreeWidgetItem(list_, {row.clock, row.elapsed, row.text});
        item->setData(0, kSecondsRole, row.seconds);
    }
    applyFilter();
}

void NotesPanel::follow(int32_t posSec) {
    const double page = trace_.secNumber();
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        const bool shown = noteOnPage(item->data(0, kSecondsRole).toFloat(), posSec, page);
        for (int c = 0; c < list_->columnCount(); ++c) {
            item->setBackground(c, shown ? QBrush(palette().highlight().color().lighter(170))
                                         : QBrush(Qt::NoBrush));
        }
    }
}

void NotesPanel::applyFilter() {
    const QString wanted = filter_->text().trimmed();
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        item->setHidden(!item->text(2).contains(wanted, Qt::CaseInsensitive));
    }
}

void NotesPanel::jumpTo(const QTreeWidgetItem* item) {
    if (item != nullptr) {
        jump_(item->data(0, kSecondsRole).toFloat());
    }
}

void NotesPanel::jumpToFirstShown() {
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (!item->isHidden()) {
            list_->setCurrentItem(item);
            jumpTo(item);
            return;
        }
    }
}

bool NotesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            jumpTo(list_->currentItem());
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}
