#pragma once
// The main window's video: what its video button and page changes drive (VideoWindowLink) and
// what keeping the video in step asks of it (VideoTraceSide), over the window's own trace
// control, scroll bar, sync marker and video button.

#include "VideoSync.h"
#include "VideoTraceSide.h"
#include "VideoWindowLink.h"

class frmView;

class MainWindowVideo : public VideoWindowLink, public VideoTraceSide {
public:
    // The placeholder video is looked for beside the program, then in the installed data folder.
    explicit MainWindowVideo(frmView& window);

    VideoSync& sync() { return sync_; }

    // VideoWindowLink: the page at the window's posSec is the one the video follows.
    void open(int posSec) override;
    void close() override;
    void pageChanged(int posSec) override;
    void traceOpened() override;

    // VideoTraceSide
    QWidget* ownerWindow() override;
    QString traceFileName() const override;
    int32_t posSec() const override;
    float secNumber() override;
    int32_t scrollMax() const override;
    void setPagePosition(int32_t sec) override;
    void setScrollingChangeEvent(bool reportWhileDragging) override;
    int32_t GetSfasVideo(int32_t position, int32_t* videoFileNum) override;
    float GetNextFileVideoStart(int32_t currentVideo) override;
    int16_t GetVideoOneSfasFrame() override;
    int32_t GetTime(float secondo) override;
    int32_t GetPixelPosition(int32_t milliSec) override;
    int32_t GetMaxLarghEtichette() override;
    void showSyncMarker(int left) override;
    void moveSyncMarker(int left) override;
    void hideSyncMarker() override;
    void releaseVideoButton() override;

private:
    frmView& window_;
    VideoSync sync_;
};
