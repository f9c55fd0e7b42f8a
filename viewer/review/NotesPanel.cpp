#include "NotesPanel.h"

#include "CViewerCtrl.h"
#include "GoToTime.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

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
    typeFilter_ = new QComboBox(body);
    typeFilter_->setObjectName(QStringLiteral("notesTypeFilter"));
    filter_ = new QLineEdit(body);
    filter_->setPlaceholderText(QStringLiteral("Filter notes"));
    filter_->setClearButtonEnabled(true);
    model_ = new NotesModel(
        [&trace](int32_t s) { return int64_t{trace.GetTime(static_cast<float>(s))}; }, this);
    list_ = new QTreeView(body);
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    // The text takes the room the panel has; the other columns their contents' width.
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list_->header()->setSectionResizeMode(NotesModel::Text, QHeaderView::Stretch);
    // Widths from the rows on screen only: 100,000 rows are not measured on every keystroke.
    list_->header()->setResizeContentsPrecision(0);
    list_->installEventFilter(this);
    // None takes the focus when the window comes up: the keys belong to the traces until the
    // user clicks here.
    for (QWidget* w : std::initializer_list<QWidget*>{typeFilter_, filter_, list_}) {
        w->setFocusPolicy(Qt::ClickFocus);
    }
    auto* filters = new QHBoxLayout;
    filters->addWidget(typeFilter_);
    filters->addWidget(filter_, 1);
    layout->addLayout(filters);
    layout->addWidget(list_);
    setWidget(body);
    connect(filter_, &QLineEdit::textChanged, this, [this] { applyFilter(); });
    connect(typeFilter_, &QComboBox::currentIndexChanged, this, [this] { applyFilter(); });
    connect(filter_, &QLineEdit::returnPressed, this, [this] { jumpToFirstShown(); });
    connect(list_, &QTreeView::doubleClicked, this, [this](const QModelIndex& i) { jumpTo(i); });
    refill();
}

void NotesPanel::reload() {
    std::vector<ListedRow> notes;
    for (const NoteRow& row : noteRows(trace_)) {
        notes.push_back({row.seconds, true, QStringLiteral("Note"), row.text, {}});
    }
    model_->replaceRows(true, std::move(notes));
    // The events shown were those of the recording before; the events tools list the new ones.
    model_->replaceRows(false, {});
    refill();
}

void NotesPanel::setEvents(std::vector<ListedRow> events) {
    model_->replaceRows(false, std::move(events));
    refill();
}

void NotesPanel::refill() {
    // The type list follows the rows; the choice stays when its type is still there.
    const QString chosen = typeFilter_->currentData().toString();
    const QSignalBlocker quiet(typeFilter_);
    typeFilter_->clear();
    typeFilter_->addItem(QStringLiteral("All types"), QString());
    for (const QString& type : model_->types()) {
        typeFilter_->addItem(type, type);
    }
    typeFilter_->setCurrentIndex(std::max(typeFilter_->findData(chosen), 0));
    applyFilter();
}

void NotesPanel::follow(int32_t posSec) { model_->setPage(posSec, trace_.secNumber()); }

void NotesPanel::applyFilter() {
    model_->setFilter(typeFilter_->currentData().toString(), filter_->text());
}

void NotesPanel::jumpTo(const QModelIndex& index) {
    if (index.isValid()) {
        jump_(static_cast<float>(model_->listed(index.row()).seconds));
    }
}

void NotesPanel::jumpToFirstShown() {
    if (model_->rowCount() > 0) {
        list_->setCurrentIndex(model_->index(0, 0));
        jumpTo(list_->currentIndex());
    }
}

bool NotesPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            jumpTo(list_->currentIndex());
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}
