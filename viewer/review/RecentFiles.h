#pragma once
// Recent recordings: the last eight opened, most recent first, kept in the group "Recent" of
// the program's settings file, offered under File > Recent (missing files greyed).

#include <QObject>
#include <QStringList>

#include <functional>

class QMenu;

// `list` with `path` put first, any earlier entry for it removed, at most `limit` entries.
QStringList withRecent(QStringList list, const QString& path, int limit = 8);

class RecentFiles : public QObject {
public:
    static constexpr int kLimit = 8;

    // `open(path)` opens a chosen entry the way File > Open does.
    RecentFiles(QMenu& menu, std::function<void(const QString&)> open);

    // The stored list, most recent first.
    static QStringList load();
    // Puts `path` first in the stored list.
    static void add(const QString& path);

private:
    void fillMenu();

    QMenu& menu_;
    std::function<void(const QString&)> open_;
};
