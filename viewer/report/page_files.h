#pragma once
// Pages of the trace control written to files for reports: a PDF of consecutive pages (one
// landscape A4 sheet each), or one PNG or SVG per page.

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class CViewerCtrl;
class QPagedPaintDevice;

struct PageExportRequest {
    QString path;             // .pdf, .png or .svg (by its suffix)
    int pages = 1;            // consecutive pages from the one on screen
    double dotsPerInch = 150; // PNG and SVG; a PDF is written at 600
    QSize pixels;             // PNG and SVG size; empty: A4 landscape at dotsPerInch
};

struct PageExportResult {
    QString error;                   // empty on success
    std::vector<int32_t> pageStarts; // the second each written page starts at
    QStringList files;
};

// The file of page `index` (from 0) of `count`: `path` itself for one page, else the
// path with "-1", "-2", ... before the suffix.
QString numberedPath(const QString& path, int index, int count);

// Writes the pages and puts the page on screen back. Stops at the end of the recording.
PageExportResult exportPages(CViewerCtrl& ctrl, const PageExportRequest& request);

// Paints consecutive pages `first` .. `last` of the recording (numbered from 1, each
// page length long) onto `device`, one per sheet, and puts the page on screen back.
// Returns the seconds the pages started at.
std::vector<int32_t> paintPages(CViewerCtrl& ctrl, QPagedPaintDevice& device, int first, int last);
