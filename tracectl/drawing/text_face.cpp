#include "text_face.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QList>
#include <QStringList>

namespace {

// The characters of labels, headers and readouts: 10-20 names, digits, units and clock times.
const QString kLatinSample = QStringLiteral("AFOPTZafoptz0123456789:.-+µ");

} // namespace

bool drawsLatinText(const QFont& font, const QString& sample) {
    const QList<QFontDatabase::WritingSystem> systems =
        QFontDatabase::writingSystems(QFontInfo(font).family());
    // TeX math fonts map symbols onto Latin code points: they claim the glyphs but not Latin.
    if (systems.contains(QFontDatabase::Symbol) || !systems.contains(QFontDatabase::Latin)) {
        return false;
    }
    const QFontMetrics metrics(font);
    for (const QChar c : sample) {
        if (!c.isSpace() && !metrics.inFont(c)) {
            return false;
        }
    }
    return true;
}

QFont textFont(const QString& name) {
    // An empty family is matched by the platform against every installed face, math and
    // symbol fonts included; a named face the machine lacks is substituted by fontconfig.
    if (!name.isEmpty() && QFontDatabase::hasFamily(name)) {
        const QFont wanted(name);
        if (drawsLatinText(wanted, kLatinSample)) {
            return wanted;
        }
    }
    QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    general.setStyleHint(QFont::SansSerif);
    if (drawsLatinText(general, kLatinSample)) {
        return QFont(QFontInfo(general).family());
    }
    QFont sans;
    sans.setStyleHint(QFont::SansSerif);
    sans.setFamilies({QStringLiteral("sans-serif"), QStringLiteral("DejaVu Sans")});
    return QFont(QFontInfo(sans).family());
}
