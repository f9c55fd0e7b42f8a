#include "ReportActions.h"

#include "CViewerCtrl.h"
#include "page_files.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kDefaultPngDpi = 150;

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
    QPrintDialog dialog(&printer, window_);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, pages);
    dialog.setWindowTitle(QStringLiteral("Print EEG pages"));
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const bool range = printer.printRange() == QPrinter::PageRange;
    const int first = range ? std::max(printer.fromPage(), 1) : current;
    const int last = range ? std::max(printer.toPage(), first) : current;
    paintPages(*ctrl_, printer, first, last);
}
