#include "OpenFeedback.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The byte that names the header generation, and the generations that exist.
constexpr qint64 kGenerationOffset = 175;
constexpr int kNewestGeneration = 4;
// Generation bytes a little past the newest read as a newer program's files.
constexpr int kNewerGenerations = 16;

} // namespace

QString refusalReason(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.exists()) {
        return QStringLiteral("Not opened: %1 does not exist.").arg(path);
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("Not opened: %1 cannot be read (%2).").arg(name, file.errorString());
    }
    if (file.size() <= kGenerationOffset || !file.seek(kGenerationOffset)) {
        return QStringLiteral("Not opened: %1 is not a recording (too short).").arg(name);
    }
    char generation = 0;
    if (!file.getChar(&generation)) {
        return QStringLiteral("Not opened: %1 cannot be read.").arg(name);
    }
    const int g = static_cast<unsigned char>(generation);
    if (g > kNewestGeneration && g < kNewerGenerations) {
        return QStringLiteral("Not opened: %1 has an unknown header generation (%2); it may come "
                              "from a newer recorder.")
            .arg(name)
            .arg(g);
    }
    if (g > kNewestGeneration) {
        return QStringLiteral("Not opened: %1 is not a recording.").arg(name);
    }
    return QStringLiteral("Not opened: the header of %1 is damaged (its layout or patient check "
                          "sum does not hold).")
        .arg(name);
}

QString openedMessage(const QString& path, int32_t totalSeconds) {
    if (totalSeconds > 0) {
        return {};
    }
    return QStringLiteral("%1 opened, but it holds no data (length 0 s).")
        .arg(QFileInfo(path).fileName());
}
