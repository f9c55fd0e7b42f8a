// The page for reports: the page on screen painted onto another device (paper, PDF, SVG,
// an image at a chosen resolution).

#include "CViewerCtrl.h"

#include "line_settings.h"
#include "montage_lines.h"
#include "page_length.h"
#include "text.h"

#include <QDateTime>

#include <cmath>
#include <cstring>

using namespace viewer;

namespace {

// The date and time of an automation date (days since 30 December 1899).
QDateTime fromAutomationDate(double days) {
    if (!std::isfinite(days) || days == 0.0 || std::abs(days) > 3e6) {
        return {};
    }
    const double whole = std::floor(days);
    const auto seconds = static_cast<int>(std::lround((days - whole) * 86400.0));
    return QDateTime(QDate(1899, 12, 30).addDays(static_cast<qint64>(whole)), QTime(0, 0))
        .addSecs(seconds);
}

} // namespace

int32_t CViewerCtrl::pageStartSecond() const {
    const uint32_t rate = recording().header.rate;
    return rate == 0 ? 0 : static_cast<int32_t>(recording().pageStart / rate);
}

bool CViewerCtrl::openLike(const CViewerCtrl& shown) {
    backColor_ = shown.backColor_;
    gridType_ = shown.gridType_;
    gridColor_ = shown.gridColor_;
    traceOverLabel_ = shown.traceOverLabel_;
    fontName_ = shown.fontName_;
    fontSize_ = shown.fontSize_;
    fontBold_ = shown.fontBold_;
    fontItalic_ = shown.fontItalic_;
    labelsColor_ = shown.labelsColor_;
    notchFreq_ = shown.notchFreq_;
    verticalResolution_ = shown.verticalResolution_;
    calibratedPixelsPerCm_ = shown.calibratedPixelsPerCm_;
    gratis_ = shown.gratis_;
    if (!shown.recording().isOpen() || FileName(shown.path_) != 0) {
        return false;
    }
    numMont_ = shown.numMont_;
    // The montage as it is on screen, with the reviewer's changes, at the same place in the
    // history: a page under another history montage switches as it would on screen.
    rec().currentMontage = shown.recording().currentMontage;
    rec().historyIndex = shown.recording().historyIndex;
    applyPageMs(rec(), shown.recording().currentMontage.pageMs);
    model_->buildDerivations();
    redrawStatic();
    return true;
}

PageHeader CViewerCtrl::pageHeader() {
    PageHeader h;
    h.patient = (GetSurName() + QLatin1Char(' ') + GetName()).simplified();
    const QDateTime start = fromAutomationDate(GetDateTimeFromSeconds(pageStartSecond()));
    h.date = start.isValid() ? start.date().toString(Qt::ISODate) : QString();
    h.clock = start.isValid() ? start.time().toString(QStringLiteral("HH:mm:ss")) : QString();
    h.montage = QString::fromStdString(montageName(rec()));
    h.gain = GetGainEEG();
    h.highPass = GetHighFilterEEG();
    h.lowPass = GetLowFilterEEG();
    const uint8_t notch = rec().currentMontage.notch;
    h.notchHz = notch == 1 ? 50 : notch == 2 ? 60 : 0;
    return h;
}

PagePaintResult CViewerCtrl::paintPageOn(QPainter& p, const QRect& area, double dotsPerInch) {
    drawPendingTraces(); // its values are computed again for paper
    PagePaintSettings settings;
    settings.look.background = fromOleColour(backColor_);
    settings.look.gridColour = fromOleColour(static_cast<uint32_t>(gridColor_));
    settings.look.gridType = gridType_;
    settings.look.traceOverLabel = traceOverLabel_;
    settings.look.font = LabelFont{fontName_, fontSize_, fontBold_, fontItalic_};
    settings.dotsPerInch = dotsPerInch;
    settings.header = pageHeader();
    const uint16_t rate = recording().header.rate;
    if (reportEvents_ && rate > 0) {
        settings.events = reportEvents_(static_cast<double>(recording().pageStart) / rate,
                                        static_cast<double>(secNumber()));
    }
    return paintPage(p, area, *model_, traceColours_, settings);
}
