#pragma once
// Montage > Edit montages…: the user's montages made, duplicated, renamed, deleted and edited
// line by line, the page showing each change as it is made. Changes are kept in the dialog
// until saved (Save, or OK for all); Revert takes a montage back to its file, Cancel drops
// every unsaved change and shows the page as it was. Files are written as the montage list
// reads them (montage_files.h); a file that does not read is never written over.

#include "montage_definition.h"

#include <QDialog>
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class CViewerCtrl;
class MontageLinesView;
class MontageList;
class QLabel;
class QListWidget;
class QMenu;

class MontageEditor : public QDialog {
public:
    // Edits the montages of `list`'s folder, shown on `trace`.
    MontageEditor(CViewerCtrl& trace, MontageList& list, QWidget* parent = nullptr);
    ~MontageEditor() override;

    // A new montage from `start` (named after it, made unique), selected and shown.
    void addMontage(viewer::MontageDefinition start);
    // The montage being edited, and the lines view that edits it.
    const viewer::MontageDefinition* current() const;
    MontageLinesView& lines() const { return *lines_; }
    // Writes montage `i` (the current one when -1); false, with the reason shown, when it
    // cannot be (a blank or taken name, too many lines, a file that does not read).
    bool save(int i = -1);
    // The current montage back as its file holds it (a new one: emptied of nothing, kept).
    void revert();
    // Renames the current montage (saved with the next save, its old file then removed).
    bool rename(const QString& name);
    // Removes the current montage and its file, without asking.
    void removeCurrent();
    // What the dialog last said (a refused entry, a failed save), for tests.
    QString message() const;

    void done(int result) override;

private:
    struct Entry {
        viewer::MontageDefinition working;
        std::optional<viewer::MontageDefinition> saved; // as its file holds it
        QString file;                                   // its file name, empty before saving
    };

    void buildWindow();
    QMenu* startMenu();
    // The definition of montage-list entry `index`, to start a montage from.
    std::optional<viewer::MontageDefinition> startFrom(int index) const;
    void showEntry(int i);
    void refreshNames();
    void linesEdited();
    void preview();
    void say(const QString& text);
    // Why `name` cannot be the name of montage `i` (blank, held by another); empty when it can.
    QString nameProblem(const QString& name, int i) const;
    QString uniqueName(const QString& wanted) const;
    bool unsaved() const;

    CViewerCtrl& trace_;
    MontageList& list_;
    std::vector<Entry> entries_;
    int current_ = -1;
    // The montage-list entry on screen when the editor opened: its text and value.
    std::pair<QString, int32_t> shownBefore_;
    QListWidget* names_ = nullptr;
    MontageLinesView* lines_ = nullptr;
    QLabel* message_ = nullptr;
};
