#include "MontageEditor.h"

#include "CViewerCtrl.h"
#include "MontageFolder.h"
#include "MontageLinesView.h"
#include "MontageList.h"
#include "montage_files.h"
#include "montage_json.h"
#include "own_montage.h"
#include "recorded_definition.h"
#include "standard_montages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

using viewer::MontageDefinition;

namespace {

// List values of the recording's own entries (archived montages count from 0).
constexpr int32_t kAsRecorded = 100;
constexpr int32_t kAllLinesRecorded = 101;
constexpr int32_t kFirstArchivedMontage = 30;

QStringList toQStrings(const std::vector<std::string>& names) {
    QStringList out;
    for (const std::string& n : names) {
        out << QString::fromStdString(n);
    }
    return out;
}

QPushButton* button(const QString& text, QWidget* parent, const QKeySequence& key = {}) {
    auto* b = new QPushButton(text, parent);
    if (!key.isEmpty()) {
        b->setToolTip(key.toString(QKeySequence::NativeText));
    }
    return b;
}

} // namespace

MontageEditor::MontageEditor(CViewerCtrl& trace, MontageList& list, QWidget* parent)
    : QDialog(parent), trace_(trace), list_(list) {
    setWindowTitle(QStringLiteral("Edit montages"));
    shownBefore_ = {list_.entries().currentText(), list_.entries().currentData().toInt()};
    const viewer::MontageFolderContents& contents = list_.folder().contents();
    for (size_t i = 0; i < contents.montages.size(); ++i) {
        entries_.push_back({contents.montages[i], contents.montages[i], contents.files[i]});
    }
    buildWindow();
    const viewer::Recording& rec = trace_.recording();
    lines_->setElectrodes(toQStrings(viewer::electrodeNames(rec)),
                          viewer::commonAverageElectrodes(viewer::eegElectrodeNames(rec)));
    list_.holdSelection(true);
    refreshNames();
    // The montage on screen when it is one of the user's, else the first.
    const QString shown = trace_.ownMontageName();
    int first = entries_.empty() ? -1 : 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (QString::fromStdString(entries_[i].working.name) == shown) {
            first = static_cast<int>(i);
        }
    }
    showEntry(first);
}

MontageEditor::~MontageEditor() { list_.holdSelection(false); }

void MontageEditor::buildWindow() {
    names_ = new QListWidget(this);
    auto* newButton = new QToolButton(this);
    newButton->setText(QStringLiteral("New"));
    newButton->setPopupMode(QToolButton::InstantPopup);
    newButton->setMenu(startMenu());
    auto* duplicate = button(QStringLiteral("Duplicate"), this);
    auto* renameButton = button(QStringLiteral("Rename…"), this, Qt::Key_F2);
    auto* remove = button(QStringLiteral("Delete…"), this);
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("My montages"), this));
    left->addWidget(names_);
    auto* manage = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{newButton, duplicate, renameButton, remove}) {
        manage->addWidget(w);
    }
    left->addLayout(manage);

    lines_ = new MontageLinesView(this);
    auto* add = button(QStringLiteral("Add line"), this, Qt::Key_Insert);
    auto* drop = button(QStringLiteral("Remove line"), this, Qt::Key_Delete);
    auto* up = button(QStringLiteral("Up"), this, Qt::ALT | Qt::Key_Up);
    auto* down = button(QStringLiteral("Down"), this, Qt::ALT | Qt::Key_Down);
    auto* colour = button(QStringLiteral("Colour…"), this);
    auto* lineButtons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{add, drop, up, down, colour}) {
        lineButtons->addWidget(w);
    }
    lineButtons->addStretch();
    auto* hint = new QLabel(
        QStringLiteral("Type a derivation such as F3 - F7, Cz - 0.5 C3 - 0.5 C4 or F3 - avg "
                       "(electrode names are offered as you type). Gain and filters left at "
                       "\"page\" follow the page. Drag lines, or Alt+Up and Alt+Down, to reorder."),
        this);
    hint->setWordWrap(true);
    message_ = new QLabel(this);
    message_->setStyleSheet(QStringLiteral("color: #a00000"));
    message_->setWordWrap(true);
    auto* right = new QVBoxLayout;
    right->addWidget(lines_, 1);
    right->addLayout(lineButtons);
    right->addWidget(hint);
    right->addWidget(message_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Reset |
                                             QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                         this);
    buttons->button(QDialogButtonBox::Reset)->setText(QStringLiteral("Revert"));
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 4);
    auto* all = new QVBoxLayout(this);
    all->addLayout(columns, 1);
    all->addWidget(buttons);
    resize(1100, 600);

    connect(names_, &QListWidget::currentRowChanged, this, &MontageEditor::showEntry);
    connect(duplicate, &QPushButton::clicked, this, [this] {
        if (const MontageDefinition* d = current()) {
            addMontage(*d);
        }
    });
    connect(renameButton, &QPushButton::clicked, this, [this] {
        const MontageDefinition* d = current();
        bool ok = false;
        const QString name = d == nullptr
                                 ? QString()
                                 : QInputDialog::getText(this, QStringLiteral("Rename montage"),
                                                         QStringLiteral("Name:"), QLineEdit::Normal,
                                                         QString::fromStdString(d->name), &ok);
        if (ok) {
            rename(name);
        }
    });
    auto* renameKey = new QShortcut(Qt::Key_F2, names_, nullptr, nullptr, Qt::WidgetShortcut);
    connect(renameKey, &QShortcut::activated, renameButton, &QPushButton::click);
    connect(remove, &QPushButton::clicked, this, [this] {
        const MontageDefinition* d = current();
        if (d != nullptr &&
            QMessageBox::question(this, QStringLiteral("Delete montage"),
                                  QStringLiteral("Delete the montage \"%1\" and its file?")
                                      .arg(QString::fromStdString(d->name))) == QMessageBox::Yes) {
            removeCurrent();
        }
    });
    connect(add, &QPushButton::clicked, lines_, &MontageLinesView::addLine);
    connect(drop, &QPushButton::clicked, lines_, &MontageLinesView::removeLine);
    connect(up, &QPushButton::clicked, lines_, [this] { lines_->moveLine(-1); });
    connect(down, &QPushButton::clicked, lines_, [this] { lines_->moveLine(1); });
    connect(colour, &QPushButton::clicked, lines_, &MontageLinesView::chooseColour);
    connect(lines_, &MontageLinesView::linesEdited, this, &MontageEditor::linesEdited);
    connect(lines_, &MontageLinesView::refused, this, &MontageEditor::say);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this,
            [this] { save(); });
    connect(buttons->button(QDialogButtonBox::Reset), &QPushButton::clicked, this,
            &MontageEditor::revert);
}

QMenu* MontageEditor::startMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(QStringLiteral("Empty montage"), this, [this] {
        addMontage(MontageDefinition{"My montage", {}});
    });
    menu->addSection(QStringLiteral("Copy of"));
    const QComboBox& list = list_.entries();
    for (int i = 0; i < list.count(); ++i) {
        if (list.itemData(i).toInt() < 0) {
            menu->addSection(list.itemText(i));
            continue;
        }
        menu->addAction(list.itemText(i).trimmed(), this, [this, i] {
            std::optional<MontageDefinition> start = startFrom(i);
            if (start) {
                addMontage(*start);
            } else {
                say(QStringLiteral("That montage cannot be read from the recording."));
            }
        });
    }
    return menu;
}

std::optional<MontageDefinition> MontageEditor::startFrom(int index) const {
    const QComboBox& list = list_.entries();
    const int32_t value = list.itemData(index).toInt();
    if (std::optional<MontageDefinition> def = list_.definition(value)) {
        return def;
    }
    // The recording's own montages: read on a copy of the control, the page left as it is.
    CViewerCtrl scratch;
    if (!scratch.openLike(trace_)) {
        return std::nullopt;
    }
    if (value == kAsRecorded) {
        scratch.setGratis(true);
    } else {
        scratch.setGratis(false);
        const int archived = value == kAllLinesRecorded ? scratch.GetNumArchivedMontage() : value;
        scratch.setNumMont(static_cast<int16_t>(archived + kFirstArchivedMontage));
    }
    std::array<uint32_t, 48> palette{};
    for (size_t i = 0; i < palette.size(); ++i) {
        palette[i] = trace_.traceColours()[i] & 0xFFFFFFu;
    }
    MontageDefinition def = viewer::recordedDefinition(scratch.recording(), palette);
    def.name = list.itemText(index).trimmed().toStdString();
    return def;
}

const MontageDefinition* MontageEditor::current() const {
    return current_ < 0 ? nullptr : &entries_[static_cast<size_t>(current_)].working;
}

QString MontageEditor::message() const { return message_->text(); }

void MontageEditor::say(const QString& text) { message_->setText(text); }

void MontageEditor::refreshNames() {
    const QSignalBlocker block(names_);
    names_->clear();
    for (const Entry& e : entries_) {
        const bool changed = !e.saved || *e.saved != e.working;
        names_->addItem(QString::fromStdString(e.working.name) + (changed ? " *" : ""));
    }
    names_->setCurrentRow(current_);
}

void MontageEditor::showEntry(int i) {
    current_ = i >= 0 && i < static_cast<int>(entries_.size()) ? i : -1;
    lines_->setEnabled(current_ >= 0);
    lines_->setLines(current_ >= 0 ? entries_[static_cast<size_t>(current_)].working.lines
                                   : std::vector<viewer::MontageLine>{});
    refreshNames();
    preview();
}

void MontageEditor::linesEdited() {
    if (current_ < 0) {
        return;
    }
    entries_[static_cast<size_t>(current_)].working.lines = lines_->lines();
    say({});
    refreshNames();
    preview();
}

void MontageEditor::preview() {
    if (current_ >= 0 && trace_.showMontage(entries_[static_cast<size_t>(current_)].working)) {
        trace_.Redraw(false);
    }
}

void MontageEditor::addMontage(MontageDefinition start) {
    start.name = uniqueName(QString::fromStdString(start.name)).toStdString();
    entries_.push_back({std::move(start), std::nullopt, {}});
    showEntry(static_cast<int>(entries_.size()) - 1);
    lines_->setFocus();
}

QString MontageEditor::nameProblem(const QString& name, int i) const {
    if (name.trimmed().isEmpty()) {
        return QStringLiteral("A montage needs a name.");
    }
    for (size_t k = 0; k < entries_.size(); ++k) {
        const QString other = QString::fromStdString(entries_[k].working.name);
        if (static_cast<int>(k) != i && viewer::montageFileName(other.toStdString()) ==
                                            viewer::montageFileName(name.toStdString())) {
            return QStringLiteral("The montage \"%1\" has that name (or its file name).")
                .arg(other);
        }
    }
    return {};
}

QString MontageEditor::uniqueName(const QString& wanted) const {
    QString name = wanted.trimmed().isEmpty() ? QStringLiteral("My montage") : wanted.trimmed();
    for (int n = 2; !nameProblem(name, -1).isEmpty(); ++n) {
        name = QStringLiteral("%1 (%2)").arg(wanted.trimmed()).arg(n);
    }
    return name;
}

bool MontageEditor::rename(const QString& name) {
    if (current_ < 0) {
        return false;
    }
    const QString problem = nameProblem(name, current_);
    if (!problem.isEmpty()) {
        say(problem);
        return false;
    }
    entries_[static_cast<size_t>(current_)].working.name = name.trimmed().toStdString();
    refreshNames();
    preview();
    return true;
}

bool MontageEditor::save(int i) {
    i = i < 0 ? current_ : i;
    if (i < 0) {
        return true;
    }
    Entry& e = entries_[static_cast<size_t>(i)];
    QString error = nameProblem(QString::fromStdString(e.working.name), i);
    MontageDefinition check;
    if (error.isEmpty() &&
        !viewer::montageFromJson(viewer::montageToJson(e.working), check, error)) {
        error = QStringLiteral("\"%1\" cannot be kept: %2")
                    .arg(QString::fromStdString(e.working.name), error);
    }
    const QString folder = list_.folder().folder();
    if (error.isEmpty() && !viewer::writeMontageFile(folder, e.working, error)) {
        error = QStringLiteral("\"%1\" not saved: %2")
                    .arg(QString::fromStdString(e.working.name), error);
    }
    if (!error.isEmpty()) {
        say(error);
        return false;
    }
    const QString file = viewer::montageFileName(e.working.name);
    if (!e.file.isEmpty() && e.file != file) {
        QFile::remove(QDir(folder).filePath(e.file)); // renamed: the old file goes
    }
    e.file = file;
    e.saved = e.working;
    say({});
    refreshNames();
    return true;
}

void MontageEditor::revert() {
    if (current_ < 0) {
        return;
    }
    Entry& e = entries_[static_cast<size_t>(current_)];
    if (e.saved) {
        e.working = *e.saved;
    }
    showEntry(current_);
}

void MontageEditor::removeCurrent() {
    if (current_ < 0) {
        return;
    }
    const Entry& e = entries_[static_cast<size_t>(current_)];
    if (!e.file.isEmpty()) {
        QFile::remove(QDir(list_.folder().folder()).filePath(e.file));
    }
    entries_.erase(entries_.begin() + current_);
    showEntry(std::min(current_, static_cast<int>(entries_.size()) - 1));
}

bool MontageEditor::unsaved() const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const Entry& e) { return !e.saved || *e.saved != e.working; });
}

void MontageEditor::done(int result) {
    if (result == QDialog::Accepted) {
        for (size_t i = 0; i < entries_.size(); ++i) {
            const Entry& e = entries_[i];
            if ((!e.saved || *e.saved != e.working) && !save(static_cast<int>(i))) {
                names_->setCurrentRow(static_cast<int>(i));
                return; // stays open with the reason shown
            }
        }
    } else if (unsaved() && isVisible() &&
               QMessageBox::question(this, QStringLiteral("Edit montages"),
                                     QStringLiteral("Drop the changes not saved?")) !=
                   QMessageBox::Yes) {
        return;
    }
    const QString chosen = result == QDialog::Accepted && current() != nullptr
                               ? QString::fromStdString(current()->name)
                               : QString();
    list_.holdSelection(false);
    list_.folder().reload();
    // The page shows the montage last edited (OK), or again what it showed before: the entry
    // of that text among the recording's, the standard or the own montages as before (the
    // own ones may have moved in the list).
    const QComboBox& list = list_.entries();
    const auto part = [](int32_t value) {
        return value >= MontageList::kFirstOwn ? 2 : value >= MontageList::kFirstStandard ? 1 : 0;
    };
    const QString text = chosen.isEmpty() ? shownBefore_.first : QStringLiteral(" ") + chosen;
    const int wanted = chosen.isEmpty() ? part(shownBefore_.second) : 2;
    for (int i = 0; i < list.count(); ++i) {
        if (list.itemText(i) == text && part(list.itemData(i).toInt()) == wanted) {
            list_.select(i);
            break;
        }
    }
    QDialog::done(result);
}
