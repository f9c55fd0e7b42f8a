#include "RecentFiles.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {

QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Viewer"),
                     QStringLiteral("Viewer"));
}

QString key(int i) { return QStringLiteral("Recent/File%1").arg(i + 1); }

} // namespace

QStringList withRecent(QStringList list, const QString& path, int limit) {
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > limit) {
        list.removeLast();
    }
    return list;
}

RecentFiles::RecentFiles(QMenu& menu, std::function<void(const QString&)> open)
    : QObject(&menu), menu_(menu), open_(std::move(open)) {
    menu_.setObjectName(QStringLiteral("mnuRecent"));
    connect(&menu_, &QMenu::aboutToShow, this, [this] { fillMenu(); });
    fillMenu();
}

QStringList RecentFiles::load() {
    const QSettings settings = store();
    QStringList list;
    for (int i = 0; i < kLimit; ++i) {
        const QString path = settings.value(key(i)).toString();
        if (!path.isEmpty() && !list.contains(path)) {
            list.append(path);
        }
    }
    return list;
}

void RecentFiles::add(const QString& path) {
    const QStringList list = withRecent(load(), path, kLimit);
    QSettings settings = store();
    for (int i = 0; i < kLimit; ++i) {
        if (i < list.size()) {
            settings.setValue(key(i), list[i]);
        } else {
            settings.remove(key(i));
        }
    }
    settings.sync();
}

void RecentFiles::fillMenu() {
    menu_.clear();
    const QStringList list = load();
    for (int i = 0; i < list.size(); ++i) {
        const QString& path = list[i];
        QAction* entry = menu_.addAction(QStringLiteral("&%1  %2").arg(i + 1).arg(path));
        entry->setEnabled(QFileInfo::exists(path));
        connect(entry, &QAction::triggered, this, [this, path] { open_(path); });
    }
    menu_.setEnabled(!list.isEmpty());
}
