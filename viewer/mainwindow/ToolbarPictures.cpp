#include "ToolbarPictures.h"

#include <QFile>
#include <QHash>

// The pictures live in the static library viewerui, whose resources are registered by hand;
// the registration function is declared in the global namespace.
static void loadToolbarPictures() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(toolbar);
        return true;
    }();
    (void)loaded;
}

QIcon ToolbarPictures::picture(const QString& key) {
    loadToolbarPictures();
    const QString path = QStringLiteral(":/toolbar/%1.png").arg(key);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

QString ToolbarPictures::toolTip(const QString& key) {
    static const QHash<QString, QString> tips = {
        {QStringLiteral("inizio"), QStringLiteral("Start of the trace")},
        {QStringLiteral("notaPrec"), QStringLiteral("Previous note")},
        {QStringLiteral("indietroAuto"), QStringLiteral("Page back automatically")},
        {QStringLiteral("indietro"), QStringLiteral("Page back")},
        {QStringLiteral("avanti"), QStringLiteral("Page forward")},
        {QStringLiteral("avantiAuto"), QStringLiteral("Page forward automatically")},
        {QStringLiteral("notaSuc"), QStringLiteral("Next note")},
        {QStringLiteral("fine"), QStringLiteral("End of the trace")},
        {QStringLiteral("video"), QStringLiteral("Video")},
        {QStringLiteral("notch"), QStringLiteral("Notch filter")},
    };
    return tips.value(key);
}
