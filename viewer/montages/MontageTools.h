#pragma once
// The entries the "Montage" menu adds after the montages: "Edit montages…", "Import…" and
// "Export…". Import copies montage files (JSON, or another reviewer's ".mtg") into the
// user's folder under names no montage there has; Export writes one montage as a JSON file.

#include "montage_definition.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class CViewerCtrl;
class MontageList;
class QWidget;

class MontageTools : public QObject {
public:
    MontageTools(QWidget& window, CViewerCtrl& trace, MontageList& list);

    // Opens the montage editor and waits for it.
    void editMontages();
    // Imports `paths` and says what was done: each montage imported under its name, what a
    // ".mtg" file held that could not be mapped, each file that could not be read and why.
    QString importFiles(const QStringList& paths);
    // Writes `def` to `path` atomically; false, with `error`, when it cannot (a file there
    // that does not read as a montage is kept).
    static bool exportMontage(const viewer::MontageDefinition& def, const QString& path,
                              QString& error);

    // Shows what import said; by default a message box. Tests record.
    void setReporter(std::function<void(const QString&)> report) { report_ = std::move(report); }

private:
    void importDialog();
    void exportDialog();
    // A name for an imported montage that no montage of the folder has.
    QString freeName(const QString& wanted) const;

    QWidget& window_;
    CViewerCtrl& trace_;
    MontageList& list_;
    std::function<void(const QString&)> report_;
};
