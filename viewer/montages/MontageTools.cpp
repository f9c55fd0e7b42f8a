#include "MontageTools.h"

#include "CViewerCtrl.h"
#include "MontageEditor.h"
#include "MontageFolder.h"
#include "MontageList.h"
#include "montage_files.h"
#include "mtg_import.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

using viewer::MontageDefinition;

namespace {

// Reads one file to import: a JSON montage file, or an ".mtg" file with what it cannot map.
bool readImport(const QString& path, MontageDefinition& def, QStringList& notes, QString& error) {
    if (!QFileInfo(path).suffix().startsWith(QStringLiteral("mtg"), Qt::CaseInsensitive)) {
        return viewer::readMontageFile(path, def, error);
    }
    QByteArray bytes;
    viewer::MtgImport imported;
    if (!viewer::readMontageBytes(path, bytes, error) ||
        !viewer::importMtg(bytes, QFileInfo(path).completeBaseName().toStdString(), imported,
                           error)) {
        return false;
    }
    def = std::move(imported.montage);
    notes = imported.notMapped;
    return true;
}

} // namespace

MontageTools::MontageTools(QWidget& window, CViewerCtrl& trace, MontageList& list)
    : QObject(&window), window_(window), trace_(trace), list_(list),
      report_([&window](const QString& text) {
          QMessageBox::information(&window, QStringLiteral("Import montages"), text);
      }) {
    auto* edit = new QAction(QStringLiteral("Edit montages…"), this);
    edit->setObjectName(QStringLiteral("mnuEditMontages"));
    connect(edit, &QAction::triggered, this, &MontageTools::editMontages);
    auto* import = new QAction(QStringLiteral("Import…"), this);
    import->setObjectName(QStringLiteral("mnuImportMontages"));
    connect(import, &QAction::triggered, this, &MontageTools::importDialog);
    auto* exporting = new QAction(QStringLiteral("Export…"), this);
    exporting->setObjectName(QStringLiteral("mnuExportMontage"));
    connect(exporting, &QAction::triggered, this, &MontageTools::exportDialog);
    for (QAction* a : {edit, import, exporting}) {
        list_.addTool(a);
    }
}

void MontageTools::editMontages() {
    MontageEditor editor(trace_, list_, &window_);
    editor.exec();
}

QString MontageTools::freeName(const QString& wanted) const {
    const QString folder = list_.folder().folder();
    const auto taken = [&](const QString& name) {
        for (const MontageDefinition& m : list_.folder().contents().montages) {
            if (QString::fromStdString(m.name) == name) {
                return true;
            }
        }
        return QFile::exists(QDir(folder).filePath(viewer::montageFileName(name.toStdString())));
    };
    QString name = wanted.trimmed().isEmpty() ? QStringLiteral("Imported") : wanted.trimmed();
    for (int n = 2; taken(name); ++n) {
        name = QStringLiteral("%1 (%2)").arg(wanted.trimmed()).arg(n);
    }
    return name;
}

QString MontageTools::importFiles(const QStringList& paths) {
    QStringList said;
    for (const QString& path : paths) {
        const QString file = QFileInfo(path).fileName();
        MontageDefinition def;
        QStringList notes;
        QString error;
        if (!readImport(path, def, notes, error)) {
            said << QStringLiteral("%1: skipped, %2").arg(file, error);
            continue;
        }
        const QString wanted = QString::fromStdString(def.name);
        def.name = freeName(wanted).toStdString();
        if (!viewer::writeMontageFile(list_.folder().folder(), def, error)) {
            said << QStringLiteral("%1: not imported, %2").arg(file, error);
            continue;
        }
        list_.folder().reload();
        said << QStringLiteral("%1: imported as \"%2\" (%3 lines)")
                    .arg(file, QString::fromStdString(def.name))
                    .arg(def.lines.size());
        for (const QString& n : notes) {
            said << QStringLiteral("    %1").arg(n);
        }
    }
    return said.join(QLatin1Char('\n'));
}

bool MontageTools::exportMontage(const MontageDefinition& def, const QString& path,
                                 QString& error) {
    return viewer::writeMontageTo(path, def, error);
}

void MontageTools::importDialog() {
    const QStringList paths = QFileDialog::getOpenFileNames(
        &window_, QStringLiteral("Import montages"), QDir::homePath(),
        QStringLiteral("Montage files (*.json *.mtg);;All files (*)"));
    if (!paths.isEmpty()) {
        report_(importFiles(paths));
    }
}

void MontageTools::exportDialog() {
    // The standard montages and the user's, the one on screen first when it is one of them.
    QStringList names;
    std::vector<MontageDefinition> defs;
    const QComboBox& list = list_.entries();
    for (int i = 0; i < list.count(); ++i) {
        if (std::optional<MontageDefinition> def = list_.definition(list.itemData(i).toInt())) {
            names << QString::fromStdString(def->name);
            defs.push_back(std::move(*def));
        }
    }
    if (defs.empty()) {
        QMessageBox::information(&window_, QStringLiteral("Export montage"),
                                 QStringLiteral("Open a recording to export its montages."));
        return;
    }
    bool ok = false;
    const int shown = std::max<int>(0, names.indexOf(trace_.ownMontageName()));
    const QString name =
        QInputDialog::getItem(&window_, QStringLiteral("Export montage"),
                              QStringLiteral("Montage:"), names, shown, false, &ok);
    if (!ok) {
        return;
    }
    const MontageDefinition& def = defs[static_cast<size_t>(names.indexOf(name))];
    const QString path = QFileDialog::getSaveFileName(
        &window_, QStringLiteral("Export montage"),
        QDir(QDir::homePath()).filePath(viewer::montageFileName(def.name)),
        QStringLiteral("Montage files (*.json)"));
    QString error;
    if (!path.isEmpty() && !exportMontage(def, path, error)) {
        QMessageBox::warning(&window_, QStringLiteral("Export montage"),
                             QStringLiteral("%1 not written: %2").arg(path, error));
    }
}
