#include "MainWindowVideo.h"

#include "CViewerCtrl.h"
#include "MyScrollBar.h"
#include "frmView.h"
#include "shipped_files.h"

#include <QAction>
#include <QCoreApplication>

MainWindowVideo::MainWindowVideo(frmView& window)
    : window_(window), sync_(*this, window.numFileVideo,
                             ShippedFiles::folderHolding(QStringLiteral("noVideo.mpg"),
                                                         QCoreApplication::applicationDirPath())) {}

void MainWindowVideo::open(int posSec) {
    (void)posSec; // the same as the window's posSec, which the video sync reads
    sync_.open();
}

void MainWindowVideo::close() { sync_.close(); }

void MainWindowVideo::pageChanged(int posSec) {
    (void)posSec;
    sync_.pageChanged();
}

void MainWindowVideo::traceOpened() { sync_.traceOpened(); }

QWidget* MainWindowVideo::ownerWindow() { return &window_; }

QString MainWindowVideo::traceFileName() const { return window_.traceFileName(); }

int32_t MainWindowVideo::posSec() const { return window_.posSec(); }

float MainWindowVideo::secNumber() { return window_.ViewTrace1()->secNumber(); }

int32_t MainWindowVideo::scrollMax() const { return window_.hscroll1()->max(); }

void MainWindowVideo::setPagePosition(int32_t sec) { window_.hscroll1()->setValue(sec); }

void MainWindowVideo::setScrollingChangeEvent(bool reportWhileDragging) {
    if (!reportWhileDragging) {
        window_.hscroll1()->setFocus();
    }
    window_.hscroll1()->setScrollingChangeEvent(reportWhileDragging);
}

int32_t MainWindowVideo::GetSfasVideo(int32_t position, int32_t* videoFileNum) {
    return window_.ViewTrace1()->GetSfasVideo(position, videoFileNum);
}

float MainWindowVideo::GetNextFileVideoStart(int32_t currentVideo) {
    return window_.ViewTrace1()->GetNextFileVideoStart(currentVideo);
}

int16_t MainWindowVideo::GetVideoOneSfasFrame() {
    return window_.ViewTrace1()->GetVideoOneSfasFrame();
}

int32_t MainWindowVideo::GetTime(float secondo) { return window_.ViewTrace1()->GetTime(secondo); }

int32_t MainWindowVideo::GetPixelPosition(int32_t milliSec) {
    return window_.ViewTrace1()->GetPixelPosition(milliSec);
}

int32_t MainWindowVideo::GetMaxLarghEtichette() {
    return window_.ViewTrace1()->GetMaxLarghEtichette();
}

void MainWindowVideo::showSyncMarker(int left) {
    window_.pctSync()->setGeometry(left, 0, 1, window_.ViewTrace1()->height());
    window_.pctSync()->show();
    window_.pctSync()->raise();
}

void MainWindowVideo::moveSyncMarker(int left) { window_.pctSync()->move(left, 0); }

void MainWindowVideo::hideSyncMarker() { window_.pctSync()->hide(); }

void MainWindowVideo::releaseVideoButton() {
    window_.button(QStringLiteral("video"))->setChecked(false);
}
