// Start-up, opening a recording and the placement saved when the window closes.

#include "frmView.h"

#include "CViewerCtrl.h"
#include "Module1.h"
#include "MontageList.h"
#include "MyScrollBar.h"
#include "ViewerSettings.h"
#include "WindowPlacement.h"
#include "events/EventsTools.h"
#include "review/ReviewTools.h"
#include "trends/TrendsTools.h"

#include <QAction>
#include <QColorDialog>
#include <QComboBox>

#include <cmath>

namespace {

constexpr uint32_t kGridGrey = 0x808080;
constexpr uint32_t kLightYellow = 12648447; // 0xC0FFFF
constexpr int16_t kBothGrids = 2;

} // namespace

void frmView::Form_Load(const QString& commandLine) {
    versionText_ =
        buildVersionText(VIEWER_VERSION_MAJOR, VIEWER_VERSION_MINOR, VIEWER_VERSION_PATCH);
    setWindowTitle(versionText_);
    restorePlacement();

    const ViewerSettings settings;
    // Only 50 and 60 Hz exist: any other stored value is the 60 Hz that the menu then shows.
    frequenzaNotch_ = settings.readInt(QStringLiteral("FrequenzaNotch"), 50) == 50 ? 50 : 60;
    ViewTrace1_->setBackColor(settings.readUInt(QStringLiteral("BackColor"), kLightYellow));
    mnu50Hz_->setChecked(frequenzaNotch_ == 50);
    mnu60Hz_->setChecked(frequenzaNotch_ != 50);
    dialogColour_ =
        QColor(qRgb(ViewTrace1_->BackColor() & 0xFF, (ViewTrace1_->BackColor() >> 8) & 0xFF,
                    (ViewTrace1_->BackColor() >> 16) & 0xFF));
    if (CommonDialogColor_ != nullptr) {
        CommonDialogColor_->setCurrentColor(dialogColour_);
    }

    CaricaCombo();

    QString path;
    startedByLauncher_ = commandLine.size() >= 2;
    if (startedByLauncher_) {
        path = commandLine;
    }

    ViewTrace1_->setGridColor(kGridGrey);
    ViewTrace1_->setPathSettings(QString());
    ViewTrace1_->setTraceOverLabel(false);
    ViewTrace1_->setGridType(kBothGrids);
    ViewTrace1_->setViewMode(0);
    numFileVideo = -1;

    OpenTrace(path);
    if (startedByLauncher_) {
        Module1::CloseWindowByTitle(QStringLiteral("StartViewer"), false);
    }
}

void frmView::restorePlacement() {
    WindowPlacement::restore(*this, QStringLiteral("View"), {1000, 1000, 10000, 7000});
}

void frmView::savePlacement() { WindowPlacement::save(*this, QStringLiteral("View")); }

void frmView::OpenTrace(const QString& fileName) {
    hscroll1_->setValue(0);
    if (ViewTrace1_->FileName(fileName) == -1) {
        review_->traceRefused(fileName);
        events_->traceRefused();
        trends_->traceRefused();
        return;
    }
    // Only a recording the control took: the video window looks for its videos next to it.
    traceFileName_ = fileName;
    video_->traceOpened();

    ViewTrace1_->setGratis(false);
    ImpostaAsRecorded();
    fillViewModeList();
    setPatientTitle(fileName);

    ViewTrace1_->DrawPage(posSec_);
    ViewTrace1_->DeselectAll();

    hscroll1_->setMin(0);
    hscroll1_->setMax(ViewTrace1_->totalTrcSec());
    hscroll1_->setSmallChange(1);
    hscroll1_->setLargeChange(ViewTrace1_->secNumber());
    button(QStringLiteral("video"))->setEnabled(ViewTrace1_->ThereIsVideo());
    review_->traceOpened(fileName);
    events_->traceOpened(fileName);
    trends_->traceOpened(fileName);
}

void frmView::fillViewModeList() {
    cmbViewMode_->clear();
    if (ViewTrace1_->gratis()) {
        cmbViewMode_->addItem(QStringLiteral("As recorded"), kAsRecorded);
    }
    cmbViewMode_->addItem(QStringLiteral("All lines recorded"), kAllLinesRecorded);
    const int16_t archived = ViewTrace1_->GetNumArchivedMontage();
    for (int16_t i = 0; i < archived; ++i) {
        cmbViewMode_->addItem(
            QStringLiteral(" %1-%2").arg(i + 1).arg(ViewTrace1_->GetArchivedMontName(i).trimmed()),
            static_cast<int>(i));
    }
    montages_->appendEntries();
    selectEntry(cmbViewMode_, 0);
}

void frmView::setPatientTitle(const QString& fileName) {
    if (!ViewerSettings().readBool(QStringLiteral("viewPatientName"), true)) {
        return;
    }
    setWindowTitle(ViewTrace1_->GetSurName() + QLatin1Char(' ') + ViewTrace1_->GetName() +
                   QLatin1Char(' ') + ViewTrace1_->GetBirthDate() + QStringLiteral("    ") +
                   fileName + versionText_);
}
