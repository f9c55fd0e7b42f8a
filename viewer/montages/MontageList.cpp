#include "MontageList.h"

#include "CViewerCtrl.h"
#include "MontageFolder.h"
#include "own_montage.h"
#include "standard_montages.h"

#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QMenuBar>
#include <QStandardItemModel>

namespace {

constexpr int kQuickKeys = 9;

// A heading of the list: shown, never chosen.
void addHeading(QComboBox& list, const QString& text) {
    list.addItem(text, -1);
    auto* model = qobject_cast<QStandardItemModel*>(list.model());
    if (model != nullptr) {
        QStandardItem* item = model->item(list.count() - 1);
        item->setFlags(item->flags() & ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled));
    }
}

bool isHeading(const QComboBox& list, int i) { return list.itemData(i).toInt() == -1; }

} // namespace

MontageList::MontageList(QMainWindow& window, CViewerCtrl& trace, QComboBox& list,
                         std::function<void(int)> select, const QString& folder)
    : QObject(&window), trace_(trace), list_(list), select_(std::move(select)),
      folder_(new MontageFolder(folder, this)) {
    QMenuBar& bar = *window.menuBar();
    const QList<QAction*> menus = bar.actions();
    menu_ = new QMenu(QStringLiteral("Montage"), &bar);
    bar.insertMenu(menus.size() > 1 ? menus.at(1) : nullptr, menu_);
    for (int n = 0; n < kQuickKeys; ++n) {
        auto* quick = new QAction(this);
        quick->setShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + n)));
        quick->setShortcutContext(Qt::WindowShortcut);
        window.addAction(quick);
        connect(quick, &QAction::triggered, this, [this, n] { chooseNth(n); });
    }
    connect(folder_, &MontageFolder::changed, this, &MontageList::folderChanged);
}

MontageList::~MontageList() = default;

void MontageList::appendEntries() {
    standard_ = viewer::standardMontages(viewer::eegElectrodeNames(trace_.recording()));
    if (trace_.recording().isOpen()) {
        addHeading(list_, QStringLiteral("Standard montages"));
        for (size_t i = 0; i < standard_.size(); ++i) {
            list_.addItem(QStringLiteral(" ") + QString::fromStdString(standard_[i].name),
                          kFirstStandard + static_cast<int>(i));
        }
        const auto& own = folder_->contents().montages;
        if (!own.empty()) {
            addHeading(list_, QStringLiteral("My montages"));
        }
        for (size_t i = 0; i < own.size(); ++i) {
            list_.addItem(QStringLiteral(" ") + QString::fromStdString(own[i].name),
                          kFirstOwn + static_cast<int>(i));
        }
    }
    fillMenu();
}

std::optional<viewer::MontageDefinition> MontageList::definition(int32_t value) const {
    const auto& own = folder_->contents().montages;
    const size_t s = static_cast<size_t>(value - kFirstStandard);
    const size_t o = static_cast<size_t>(value - kFirstOwn);
    if (value >= kFirstOwn && o < own.size()) {
        return own[o];
    }
    if (value >= kFirstStandard && s < standard_.size()) {
        return standard_[s];
    }
    return std::nullopt;
}

bool MontageList::choose(int32_t value) {
    const std::optional<viewer::MontageDefinition> def = definition(value);
    if (def) {
        trace_.showMontage(*def);
    }
    return def.has_value();
}

void MontageList::addTool(QAction* action) {
    tools_.push_back(action);
    fillMenu();
}

void MontageList::folderChanged() {
    if (list_.count() == 0) {
        fillMenu();
        return; // no recording open: the list is filled when one is
    }
    const int32_t chosen = list_.currentData().toInt();
    const QString chosenText = list_.currentText();
    int first = list_.count();
    for (int i = 0; i < list_.count(); ++i) {
        if (list_.itemData(i).toInt() >= kFirstStandard || isHeading(list_, i)) {
            first = std::min(first, i);
        }
    }
    while (list_.count() > first) {
        list_.removeItem(list_.count() - 1);
    }
    appendEntries();
    const int again = list_.findText(chosenText);
    if (again >= 0) {
        list_.setCurrentIndex(again);
    }
    if (chosen >= kFirstOwn && again >= 0 && !hold_) {
        select_(again); // the montage on screen was read again: show what the file now says
    }
}

void MontageList::fillMenu() {
    menu_->clear();
    int n = 0;
    for (int i = 0; i < list_.count(); ++i) {
        if (isHeading(list_, i)) {
            menu_->addSection(list_.itemText(i));
            continue;
        }
        QAction* entry = menu_->addAction(list_.itemText(i).trimmed());
        if (n < kQuickKeys) {
            entry->setShortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_1 + n)));
            entry->setShortcutContext(Qt::WidgetShortcut); // the window's own actions answer
        }
        connect(entry, &QAction::triggered, this, [this, i] { select_(i); });
        ++n;
    }
    if (!tools_.empty()) {
        menu_->addSeparator();
    }
    for (QAction* tool : tools_) {
        menu_->addAction(tool);
    }
}

void MontageList::chooseNth(int n) {
    for (int i = 0; i < list_.count(); ++i) {
        if (!isHeading(list_, i) && n-- == 0) {
            select_(i);
            return;
        }
    }
}
