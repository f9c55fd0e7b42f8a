#include "montage_files.h"

#include "montage_json.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

namespace viewer {

namespace {

// Montage files larger than this are not montages (128 lines of many terms fit easily).
constexpr qint64 kLargestFile = 16 * 1024 * 1024;

} // namespace

QString montagesFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Viewer/montages");
}

bool readMontageBytes(const QString& path, QByteArray& bytes, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    if (file.size() > kLargestFile) {
        error = QStringLiteral("larger than %1 MB").arg(kLargestFile / (1024 * 1024));
        return false;
    }
    bytes = file.readAll();
    if (bytes.size() != file.size()) {
        error = QStringLiteral("could not be read whole");
        return false;
    }
    return true;
}

bool readMontageFile(const QString& path, MontageDefinition& out, QString& error) {
    QByteArray bytes;
    return readMontageBytes(path, bytes, error) && montageFromJson(bytes, out, error);
}

MontageFolderContents readMontageFolder(const QString& folder) {
    MontageFolderContents contents;
    const QDir dir(folder);
    const QStringList names = dir.entryList(
        {QStringLiteral("*.json")}, QDir::Files | QDir::Readable | QDir::Hidden, QDir::Name);
    for (const QString& name : names) {
        MontageDefinition def;
        QString error;
        if (!readMontageFile(dir.filePath(name), def, error)) {
            contents.problems.push_back({name, error});
            continue;
        }
        const bool taken =
            std::any_of(contents.montages.begin(), contents.montages.end(),
                        [&def](const MontageDefinition& m) { return m.name == def.name; });
        if (taken) {
            contents.problems.push_back(
                {name, QStringLiteral("another file already holds the montage \"%1\"")
                           .arg(QString::fromStdString(def.name))});
            continue;
        }
        contents.montages.push_back(std::move(def));
        contents.files.push_back(name);
    }
    return contents;
}

QString montageFileName(const std::string& name) {
    QString file = QString::fromStdString(name);
    for (QChar& c : file) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20) {
            c = QLatin1Char('_');
        }
    }
    if (file.startsWith(QLatin1Char('.')) || file.isEmpty()) {
        file.prepend(QLatin1Char('_'));
    }
    return file + QStringLiteral(".json");
}

bool writeMontageFile(const QString& folder, const MontageDefinition& def, QString& error) {
    if (!QDir().mkpath(folder)) {
        error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    return writeMontageTo(QDir(folder).filePath(montageFileName(def.name)), def, error);
}

bool writeMontageTo(const QString& path, const MontageDefinition& def, QString& error) {
    MontageDefinition existing;
    if (QFile::exists(path) && !readMontageFile(path, existing, error)) {
        error = QStringLiteral("%1 is kept as it is: %2").arg(path, error);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(montageToJson(def)) < 0 || !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace viewer
