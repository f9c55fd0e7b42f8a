#pragma once
// Pages of the trace control written to files for reports: a PDF of consecutive pages (one
// landscape A4 sheet each), or one PNG or SVG per page.

#include "page_painter.h"

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

struct PrintedPage {
    int32_t start = 0; // second of the recording
    viewer::PageHeader header;
};

// Paints `count` consecutive pages from second `start` of the recording `shown` shows onto
// `device`, one per sheet, each drawn under the montage in force at its start, through a
// control of its own: `shown` and its window do not move. Stops at the end of the
// recording; empty when the recording cannot be opened again.
std::vector<PrintedPage> printPages(const CViewerCtrl& shown, QPagedPaintDevice& device,
                                    int32_t start, int count);
