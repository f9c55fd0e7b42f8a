#pragma once
// File > Export page… and File > Print…: the page on screen to PDF, PNG or SVG, and
// consecutive pages to a printer, one landscape sheet each.

#include <QObject>

class CViewerCtrl;
class QAction;
class QMenu;
class QWidget;

class ReportActions : public QObject {
    Q_OBJECT
public:
    // Adds both entries to `menu` before `before` (or at its end); `window` owns the dialogs.
    ReportActions(QMenu* menu, QAction* before, CViewerCtrl* ctrl, QWidget* window);

    void exportPage();
    void print();

private:
    CViewerCtrl* ctrl_;
    QWidget* window_;
};
