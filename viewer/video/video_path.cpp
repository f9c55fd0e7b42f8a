#include "video_path.h"

#include "video_helpers.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include <array>

namespace VideoPath {

namespace {

constexpr std::array<const char*, 5> kKinds = {"avi", "mpg", "wmv", "asf", "mts"};
constexpr char kUnchecked[] = "mpe";

// The files of one folder by their names in lower case, so that a candidate can be found
// whatever the case of the name it was copied with.
class FolderListing {
public:
    // `folder` is empty or ends in a separator, as the trace path gives it.
    explicit FolderListing(const QString& folder) : folder_(folder) {
        const QStringList names =
            QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
                .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
        for (const QString& name : names) {
            byLowerName_.insert(name.toLower(), name);
        }
    }

    // The existing file that `name` stands for, or an empty string.
    QString find(const QString& name) const {
        QString exact = folder_ + name;
        if (Module1::FileExists(exact)) {
            return exact;
        }
        const auto it = byLowerName_.constFind(name.toLower());
        if (it == byLowerName_.constEnd()) {
            return {};
        }
        const QString other = folder_ + it.value();
        return Module1::FileExists(other) ? other : QString();
    }

private:
    QString folder_;
    QHash<QString, QString> byLowerName_;
};

// The first candidate name that exists in the trace's folder, else `fallback` unchecked.
QString firstExisting(const QString& folder, const QStringList& names, const QString& fallback) {
    const FolderListing listing(folder);
    for (const QString& name : names) {
        QString found = listing.find(name);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return folder + fallback;
}

} // namespace

QString choose(const QString& traceFileName, int32_t videoFileNum, const QString& programFolder) {
    if (videoFileNum == -1) {
        return QDir(programFolder).filePath(QStringLiteral("noVideo.mpg"));
    }
    if (traceFileName.isEmpty()) {
        return {};
    }
    const QFileInfo trace(traceFileName);
    const QString name = trace.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot < 0 ? name : name.left(dot);
    // The folder exactly as the trace path gives it, so that the candidates read like it.
    const QString folder = traceFileName.left(traceFileName.size() - name.size());

    QStringList names;
    if (videoFileNum == -2) {
        for (const char* kind : kKinds) {
            names << stem + QLatin1Char('.') + QLatin1String(kind);
        }
    } else {
        const QString numbered = stem + QLatin1Char('_') + QString::number(videoFileNum);
        for (const char* kind : kKinds) {
            names << numbered + QLatin1Char('.') + QLatin1String(kind);
        }
        names << numbered + QLatin1Char('.') + QLatin1String(kUnchecked);
        for (const char* kind : kKinds) {
            names << stem + QLatin1Char('.') + QLatin1String(kind);
        }
    }
    return firstExisting(folder, names, stem + QLatin1Char('.') + QLatin1String(kUnchecked));
}

} // namespace VideoPath
