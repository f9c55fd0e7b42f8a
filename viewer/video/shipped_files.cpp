#include "shipped_files.h"

#include <QDir>
#include <QFileInfo>

namespace ShippedFiles {

QString folderHolding(const QString& name, const QString& programFolder) {
    const QString candidates[] = {
        programFolder,
        QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(VIEWER_DATA_FROM_PROGRAM))),
        QStringLiteral(VIEWER_DATA_DIR),
    };
    for (const QString& folder : candidates) {
        if (QFileInfo(QDir(folder).filePath(name)).isFile()) {
            return folder;
        }
    }
    return programFolder;
}

} // namespace ShippedFiles
