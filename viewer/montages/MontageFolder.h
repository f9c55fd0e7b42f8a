#pragma once
// The user's montage files as the program sees them: read at start and again whenever the
// folder or one of its files changes. Files that do not read are skipped and named in a
// message once per change.

#include "montage_files.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>

class MontageFolder : public QObject {
    Q_OBJECT

public:
    // Watches `folder` (which need not exist yet) and reads it.
    explicit MontageFolder(const QString& folder, QObject* parent = nullptr);

    const viewer::MontageFolderContents& contents() const { return contents_; }
    const QString& folder() const { return folder_; }
    // Reads the folder again now (changes on disk do so after a short pause).
    void reload();

    // Shows the skipped files; by default a message box that does not wait. Tests record.
    void setReporter(std::function<void(const QString&)> report) { report_ = std::move(report); }

signals:
    // The montages read changed.
    void changed();

private:
    void watch();

    QString folder_;
    QFileSystemWatcher watcher_;
    QTimer pause_;
    viewer::MontageFolderContents contents_;
    QSet<QString> reported_; // problems already shown, as "file: reason"
    std::function<void(const QString&)> report_;
};
