#include "page_files.h"

#include "CViewerCtrl.h"

#include <QFileInfo>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>
#include <functional>

namespace {

constexpr int kPdfDotsPerInch = 600;
constexpr double kA4LongMm = 297.0;
constexpr double kA4ShortMm = 210.0;
constexpr double kMmPerInch = 25.4;
constexpr int kMaxPixels = 16384;

// Calls `paint` for each page from `first` (a second) on, `pages` times, page length
// apart, while the pages lie inside the recording; then shows the page at `back` again.
std::vector<int32_t> forEachPage(CViewerCtrl& ctrl, int32_t first, int pages,
                                 const std::function<bool(int index)>& paint) {
    std::vector<int32_t> starts;
    const int32_t back = ctrl.pageStartSecond();
    const float length = ctrl.secNumber();
    for (int i = 0; i < pages; ++i) {
        const auto second = static_cast<int32_t>(std::lround(first + i * double{length}));
        if (!ctrl.DrawPage(second) && ctrl.pageStartSecond() != second) {
            break; // past the end of the recording
        }
        if (ctrl.secNumber() != length) {
            // A history montage of another page length: the pages keep the one they were
            // counted in, so that they follow each other without gap or overlap.
            ctrl.SetSecNumber(length);
            ctrl.DrawPage(second);
        }
        starts.push_back(second);
        if (!paint(i)) {
            break;
        }
    }
    ctrl.DrawPage(back);
    return starts;
}

QSize defaultPixels(double dpi) {
    return {static_cast<int>(std::lround(kA4LongMm / kMmPerInch * dpi)),
            static_cast<int>(std::lround(kA4ShortMm / kMmPerInch * dpi))};
}

PageExportResult writePdf(CViewerCtrl& ctrl, const PageExportRequest& r) {
    PageExportResult result;
    QPdfWriter writer(r.path);
    writer.setResolution(kPdfDotsPerInch);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    writer.setTitle(QStringLiteral("EEG pages"));
    writer.setCreator(QStringLiteral("Viewer"));
    QPainter p;
    if (!p.begin(&writer)) {
        result.error = QStringLiteral("Cannot write %1").arg(r.path);
        return result;
    }
    const QRect area(0, 0, writer.width(), writer.height());
    result.pageStarts = forEachPage(ctrl, ctrl.pageStartSecond(), r.pages, [&](int i) {
        if (i > 0) {
            writer.newPage();
        }
        ctrl.paintPageOn(p, area, kPdfDotsPerInch);
        return true;
    });
    p.end();
    result.files << r.path;
    return result;
}

PageExportResult writeImages(CViewerCtrl& ctrl, const PageExportRequest& r, bool svg) {
    PageExportResult result;
    const double dpi = r.dotsPerInch > 0 ? r.dotsPerInch : 150.0;
    const QSize size = r.pixels.isEmpty() ? defaultPixels(dpi) : r.pixels;
    if (!(dpi >= 10.0 && dpi <= 2400.0) || size.width() < 1 || size.height() < 1 ||
        size.width() > kMaxPixels || size.height() > kMaxPixels) {
        result.error = QStringLiteral("Size or resolution out of range.");
        return result;
    }
    result.pageStarts = forEachPage(ctrl, ctrl.pageStartSecond(), r.pages, [&](int i) {
        const QString file = numberedPath(r.path, i, r.pages);
        bool written = false;
        if (svg) {
            QSvgGenerator generator;
            generator.setFileName(file);
            generator.setSize(size);
            generator.setViewBox(QRect(QPoint(0, 0), size));
            generator.setResolution(static_cast<int>(std::lround(dpi)));
            QPainter p(&generator);
            ctrl.paintPageOn(p, QRect(QPoint(0, 0), size), dpi);
            written = p.end();
        } else {
            QImage image(size, QImage::Format_RGB32);
            const auto perMetre = static_cast<int>(std::lround(dpi / kMmPerInch * 1000.0));
            image.setDotsPerMeterX(perMetre);
            image.setDotsPerMeterY(perMetre);
            {
                QPainter p(&image);
                ctrl.paintPageOn(p, image.rect(), dpi);
            }
            written = image.save(file, "PNG");
        }
        if (!written) {
            result.error = QStringLiteral("Cannot write %1").arg(file);
            return false;
        }
        result.files << file;
        return true;
    });
    return result;
}

} // namespace

QString numberedPath(const QString& path, int index, int count) {
    if (count <= 1) {
        return path;
    }
    const QFileInfo info(path);
    const QString suffix = info.suffix().isEmpty() ? QString() : "." + info.suffix();
    const QString stem = path.left(path.size() - suffix.size());
    return QStringLiteral("%1-%2%3").arg(stem).arg(index + 1).arg(suffix);
}

PageExportResult exportPages(CViewerCtrl& ctrl, const PageExportRequest& request) {
    const QString suffix = QFileInfo(request.path).suffix().toLower();
    if (!ctrl.recording().isOpen()) {
        return {QStringLiteral("No recording is open."), {}, {}};
    }
    if (suffix == QLatin1String("pdf")) {
        return writePdf(ctrl, request);
    }
    if (suffix == QLatin1String("png") || suffix == QLatin1String("svg")) {
        return writeImages(ctrl, request, suffix == QLatin1String("svg"));
    }
    return {
        QStringLiteral("Unknown file kind: %1 (use .pdf, .png or .svg)").arg(request.path), {}, {}};
}

std::vector<PrintedPage> printPages(const CViewerCtrl& shown, QPagedPaintDevice& device,
                                    int32_t start, int count) {
    CViewerCtrl ctrl;
    ctrl.resize(320, 200); // its layers are not what is painted
    QPainter p;
    if (count < 1 || !ctrl.openLike(shown) || !p.begin(&device)) {
        return {};
    }
    const QRect area(0, 0, device.width(), device.height());
    const double dpi = device.logicalDpiY();
    std::vector<PrintedPage> printed;
    forEachPage(ctrl, start, count, [&](int i) {
        if (i > 0) {
            device.newPage();
        }
        ctrl.paintPageOn(p, area, dpi);
        printed.push_back({ctrl.pageStartSecond(), ctrl.pageHeader()});
        return true;
    });
    p.end();
    return printed;
}
