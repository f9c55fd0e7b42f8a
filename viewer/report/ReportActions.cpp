#include "ReportActions.h"

#include "CViewerCtrl.h"
#include "page_files.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDefaultPngDpi = 150;
constexpr int kMessageMs = 15000;

// Page `number` (from 1) starts that many page lengths after the recording's start.
int32_t pageStart(int number, double length) {
    return static_cast<int32_t>(std::lround((number - 1) * length));
}

} // namespace

ReportActions::ReportActions(QMenu* menu, QAction* before, CViewerCtrl* ctrl, QWidget* window)
    : QObject(window), ctrl_(ctrl), window_(window) {
    auto* exportAction = new QAction(QStringLiteral("Export page…"), this);
    exportAction->setObjectName(QStringLiteral("mnuExportPage"));
    auto* printAction = new QAction(QStringLiteral("Print…"), this);
    printAction->setObjectName(QStringLiteral("mnuPrint"));
    printAction->setShortcut(QKeySequence::Print);
    menu->insertActions(before, {exportAction, printAction});
    menu->insertSeparator(before);
    connect(exportAction, &QAction::triggered, this, &ReportActions::exportPage);
    connect(printAction, &QAction::triggered, this, &ReportActions::print);
}

void ReportActions::exportPage() {
    if (!ctrl_->recording().isOpen()) {
        return;
    }
    QString filter = QStringLiteral("PDF document (*.pdf)");
    const QString path = QFileDialog::getSaveFileName(
        window_, QStringLiteral("Export page"), QString(),
        QStringLiteral("PDF document (*.pdf);;PNG image (*.png);;SVG drawing (*.svg)"), &filter);
    if (path.isEmpty()) {
        return;
    }
    PageExportRequest request;
    request.path = path;
    if (QFileInfo(path).suffix().isEmpty()) {
        request.path += filter.contains("png") ? ".png" : filter.contains("svg") ? ".svg" : ".pdf";
    }
    if (request.path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) {
        bool ok = false;
        request.dotsPerInch = QInputDialog::getInt(window_, QStringLiteral("Export page"),
                                                   QStringLiteral("Resolution (dots per inch):"),
                                                   kDefaultPngDpi, 50, 1200, 10, &ok);
        if (!ok) {
            return;
        }
    }
    const PageExportResult result = exportPages(*ctrl_, request);
    if (!result.error.isEmpty()) {
        QMessageBox::warning(window_, QStringLiteral("Export page"), result.error);
    } else if (auto* main = qobject_cast<QMainWindow*>(window_)) {
        main->statusBar()->showMessage(
            QStringLiteral("The page at %1 was written to %2.")
                .arg(ctrl_->pageHeader().clock, QDir::toNativeSeparators(result.files.join(", "))),
            kMessageMs);
    }
}

void ReportActions::print() {
    if (!ctrl_->recording().isOpen()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    const double length = std::max(ctrl_->secNumber(), 0.001f);
    const int pages = std::max(1, static_cast<int>(std::ceil(ctrl_->totalTrcSec() / length)));
    const int current =
        std::clamp(static_cast<int>(std::floor(ctrl_->pageStartSecond() / length)) + 1, 1, pages);
    printer.setFromTo(current, current);
    printer.setPrintRange(QPrinter::CurrentPage);
    QPrintDialog dialog(&printer, window_);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCurrentPage);
    dialog.setMinMax(1, pages);
    dialog.setWindowTitle(QStringLiteral("Print EEG pages"));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    int32_t start = ctrl_->pageStartSecond();
    int count = 1;
    switch (printer.printRange()) {
    case QPrinter::PageRange:
        start = pageStart(std::max(printer.fromPage(), 1), length);
        count =
            std::max(printer.toPage(), printer.fromPage()) - std::max(printer.fromPage(), 1) + 1;
        break;
    case QPrinter::AllPages:
        if (QMessageBox::question(
                window_, QStringLiteral("Print EEG pages"),
                QStringLiteral("Print all %1 pages of the recording, one sheet each?").arg(pages),
                QMessageBox::Yes | QMessageBox::Cancel) != QMessageBox::Yes) {
            return;
        }
        start = 0;
        count = pages;
        break;
    default: // the page on screen, as it starts
        break;
    }
    if (printPages(*ctrl_, printer, start, count).empty()) {
        QMessageBox::warning(window_, QStringLiteral("Print EEG pages"),
                             QStringLiteral("Nothing was printed: the recording could not be "
                                            "read again."));
    }
}
