#pragma once
// The standard montages and the user's own in the main window: appended to the montage
// list after the recording's own under headings of their own, listed in a "Montage" menu,
// chosen with Alt+1 ... Alt+9 (the first nine montages of the list) and shown through the
// trace control's showMontage. The user's files are read from their folder (MontageFolder)
// and the list follows when they change.

#include "montage_definition.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class CViewerCtrl;
class QAction;
class MontageFolder;
class QComboBox;
class QMainWindow;
class QMenu;

class MontageList : public QObject {
public:
    // List values of the standard montages and the user's (the recording's own keep theirs).
    static constexpr int32_t kFirstStandard = 1000;
    static constexpr int32_t kFirstOwn = 2000;

    // `select(index)` selects entry `index` of `list` as the main window does (its handler
    // runs); the user's montages are read from `folder`.
    MontageList(QMainWindow& window, CViewerCtrl& trace, QComboBox& list,
                std::function<void(int)> select, const QString& folder);
    ~MontageList() override;
    MontageList(const MontageList&) = delete;
    MontageList& operator=(const MontageList&) = delete;

    // Appends the headings and montages to the list, which holds the recording's own.
    void appendEntries();
    // Shows the montage of list value `value` when it is one of these; false for others.
    bool choose(int32_t value);

    MontageFolder& folder() const { return *folder_; }
    QMenu& menu() const { return *menu_; }
    const std::vector<viewer::MontageDefinition>& standard() const { return standard_; }
    // The montage list itself, and entry `index` chosen as the user chooses it.
    QComboBox& entries() const { return list_; }
    void select(int index) { select_(index); }
    // The definition of a standard or own montage of list value `value`; none for others.
    std::optional<viewer::MontageDefinition> definition(int32_t value) const;
    // While held (the montage editor open), a change of the folder rebuilds the list without
    // showing the chosen montage again.
    void holdSelection(bool hold) { hold_ = hold; }
    // `action` is listed at the end of the "Montage" menu.
    void addTool(QAction* action);

private:
    // The user's montages changed: the list's entries follow, the selection stays.
    void folderChanged();
    // Rebuilds the menu from the list.
    void fillMenu();
    // Entry `n` (0-based) of the list's montages, headings not counted.
    void chooseNth(int n);

    CViewerCtrl& trace_;
    QComboBox& list_;
    std::function<void(int)> select_;
    MontageFolder* folder_ = nullptr;
    QMenu* menu_ = nullptr;
    std::vector<viewer::MontageDefinition> standard_;
    std::vector<QAction*> tools_;
    bool hold_ = false;
};
