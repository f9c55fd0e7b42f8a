#include "MontageFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// Changes on disk come in bursts (a new file, then its contents): read once they settle.
constexpr int kSettleMs = 250;

void showInBox(const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Viewer"), text);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

} // namespace

MontageFolder::MontageFolder(const QString& folder, QObject* parent)
    : QObject(parent), folder_(folder), report_(showInBox) {
    pause_.setSingleShot(true);
    pause_.setInterval(kSettleMs);
    connect(&pause_, &QTimer::timeout, this, &MontageFolder::reload);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &pause_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &pause_, qOverload<>(&QTimer::start));
    reload();
}

void MontageFolder::watch() {
    if (!watcher_.files().isEmpty()) {
        watcher_.removePaths(watcher_.files());
    }
    if (!watcher_.directories().isEmpty()) {
        watcher_.removePaths(watcher_.directories());
    }
    // The folder, or the nearest folder above it that exists, so that its creation is seen.
    QString existing = folder_;
    while (!QFileInfo(existing).isDir() && QFileInfo(existing).dir().path() != existing) {
        existing = QFileInfo(existing).dir().path();
    }
    watcher_.addPath(existing);
    const QDir dir(folder_);
    for (const QString& file : dir.entryList({QStringLiteral("*.json")}, QDir::Files)) {
        watcher_.addPath(dir.filePath(file));
    }
}

void MontageFolder::reload() {
    watch();
    viewer::MontageFolderContents read = viewer::readMontageFolder(folder_);
    QStringList fresh;
    for (const viewer::MontageFileProblem& p : read.problems) {
        const QString line = p.file + QStringLiteral(": ") + p.reason;
        if (!reported_.contains(line)) {
            fresh << line;
        }
    }
    reported_.clear();
    for (const viewer::MontageFileProblem& p : read.problems) {
        reported_.insert(p.file + QStringLiteral(": ") + p.reason);
    }
    const bool same = read.montages == contents_.montages && read.files == contents_.files;
    contents_ = std::move(read);
    if (!fresh.isEmpty() && report_) {
        report_(QStringLiteral("Montage files skipped (in %1):\n%2")
                    .arg(QDir::toNativeSeparators(folder_), fresh.join(QLatin1Char('\n'))));
    }
    if (!same) {
        emit changed();
    }
}
