#include "FormulaEdit.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QStringListModel>

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

} // namespace

FormulaEdit::FormulaEdit(const QStringList& electrodes, QWidget* parent)
    : QLineEdit(parent), completer_(new QCompleter(
                             new QStringListModel(electrodes + QStringList{"avg"}, this), this)) {
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setCompletionMode(QCompleter::PopupCompletion);
    completer_->setWidget(this);
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), this,
            &FormulaEdit::insertCompletion);
    connect(this, &QLineEdit::textEdited, this, [this] {
        const QString word = currentWord(nullptr);
        if (word.isEmpty() || word.front().isDigit()) {
            completer_->popup()->hide();
            return;
        }
        completer_->setCompletionPrefix(word);
        completer_->complete();
    });
}

QString FormulaEdit::currentWord(int* start) const {
    const QString t = text();
    int from = cursorPosition();
    while (from > 0 && isWordChar(t.at(from - 1))) {
        --from;
    }
    if (start != nullptr) {
        *start = from;
    }
    return t.mid(from, cursorPosition() - from);
}

void FormulaEdit::insertCompletion(const QString& name) {
    int start = 0;
    const QString word = currentWord(&start);
    const bool plain = std::all_of(name.begin(), name.end(), isWordChar);
    const QString inserted = plain ? name : QLatin1Char('"') + name + QLatin1Char('"');
    setText(text().left(start) + inserted + text().mid(start + word.size()));
    setCursorPosition(start + inserted.size());
}

void FormulaEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !completer_->popup()->currentIndex().isValid()) {
        completer_->popup()->hide(); // no name picked in the list: Enter ends the typing
    }
    if (completer_->popup()->isVisible()) {
        switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
        case Qt::Key_Escape:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            event->ignore(); // the completer's list takes these
            return;
        default:
            break;
        }
    }
    QLineEdit::keyPressEvent(event);
}
