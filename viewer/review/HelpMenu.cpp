#include "HelpMenu.h"

#include "KeyboardMap.h"
#include "frmView.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <gst/gst.h>

#include <algorithm>

namespace HelpMenu {

QString aboutText() {
    guint major = 0;
    guint minor = 0;
    guint micro = 0;
    guint nano = 0;
    gst_version(&major, &minor, &micro, &nano);
    // The version as the title bar writes it.
    const QString version =
        frmView::buildVersionText(VIEWER_VERSION_MAJOR, VIEWER_VERSION_MINOR, VIEWER_VERSION_PATCH)
            .trimmed();
    return QStringLiteral(
               "<b>Viewer</b> %1<br>A reviewer for recorded EEG (.vwr, EDF and BDF files)."
               "<br><br>Qt %2<br>GStreamer %3.%4.%5")
        .arg(version.mid(1, version.size() - 2), QString::fromLatin1(qVersion()))
        .arg(major)
        .arg(minor)
        .arg(micro);
}

void showShortcuts(QWidget& owner) {
    QDialog dialog(&owner);
    dialog.setWindowTitle(QStringLiteral("Keyboard shortcuts"));
    auto* layout = new QVBoxLayout(&dialog);
    const std::vector<KeyHelp> keys = keyHelp();
    auto* table = new QTableWidget(static_cast<int>(keys.size()), 2, &dialog);
    table->setHorizontalHeaderLabels({QStringLiteral("Key"), QStringLiteral("Action")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < static_cast<int>(keys.size()); ++row) {
        table->setItem(row, 0, new QTableWidgetItem(keys[static_cast<size_t>(row)].keys));
        table->setItem(row, 1, new QTableWidgetItem(keys[static_cast<size_t>(row)].action));
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    // Every row in sight, no scrolling.
    int height = table->horizontalHeader()->height() + 2 * table->frameWidth();
    for (int row = 0; row < table->rowCount(); ++row) {
        height += table->rowHeight(row);
    }
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setMinimumSize(
        std::max(420, table->horizontalHeader()->length() + 2 * table->frameWidth()), height);
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}

void fill(QMenu& menu, QWidget& owner) {
    QAction* keys = menu.addAction(QStringLiteral("Keyboard shortcuts"));
    keys->setObjectName(QStringLiteral("mnuShortcuts"));
    keys->setShortcut(QKeySequence(Qt::Key_F1));
    QObject::connect(keys, &QAction::triggered, &owner, [&owner] { showShortcuts(owner); });
    QAction* about = menu.addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    QObject::connect(about, &QAction::triggered, &owner, [&owner] {
        QMessageBox::about(&owner, QStringLiteral("About Viewer"), aboutText());
    });
}

} // namespace HelpMenu
