#include "VideoSync.h"

#include "CClipdeckCtrl.h"
#include "VideoTraceSide.h"
#include "frmVideo.h"
#include "video_helpers.h"
#include "video_path.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPushButton>

#include <utility>

namespace {

// The wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Video seconds for trace millisecond `p` of a video whose time zero lies at `sfas`.
float videoSeconds(float p, int32_t sfas, int32_t fileRate, int32_t realRate) {
    return (p - static_cast<float>(sfas)) * static_cast<float>(fileRate) /
           static_cast<float>(realRate) / 1000.0f;
}

void enableButtons(frmVideo& window, bool enabled) {
    window.PlayButton()->setEnabled(enabled);
    window.StopButton()->setEnabled(enabled);
}

} // namespace

VideoSync::VideoSync(VideoTraceSide& trace, int32_t& numFileVideo, QString programFolder)
    : numFileVideo(numFileVideo), trace_(trace), programFolder_(std::move(programFolder)) {}

VideoSync::~VideoSync() { delete window_.data(); }

frmVideo& VideoSync::videoWindow() {
    if (!window_) {
        window_ = new frmVideo(*this, trace_.ownerWindow());
    }
    return *window_;
}

frmVideo* VideoSync::loadedVideoWindow() const { return window_.data(); }

void VideoSync::ImpostaVideo(float posizione) {
    frmVideo& v = videoWindow();
    const frmVideo::ReportHold hold(v);
    if (v.fileVideoRate == 0) {
        v.fileVideoRate = 1;
    }
    if (v.realVideoRate == 0) {
        v.realVideoRate = 1;
    }
    if (posizione < 0) {
        posizione = 0;
    }
    const float p = posizione * 1000.0f;
    int32_t videoFileNum = -1;
    v.sfas = trace_.GetSfasVideo(videotime::wholeNumber(p), &videoFileNum);
    if (v.sfas != -1 && videoFileNum == -1) {
        videoFileNum = -2;
    }
    if (v.sfas == -1 && videoFileNum == -1) {
        enableButtons(v, false);
    }
    if (videoFileNum == numFileVideo) {
        v.newPosition = videoSeconds(p, v.sfas, v.fileVideoRate, v.realVideoRate);
        v.comando(frmVideo::Seek);
        return;
    }

    const WaitCursor wait;
    if (videoFileNum != -1) {
        enableButtons(v, true);
    }
    numFileVideo = videoFileNum;
    const QString path = VideoPath::choose(trace_.traceFileName(), videoFileNum, programFolder_);
    int32_t fileRate = 1;
    int32_t realRate = 1;
    if (!Module1::DetectVideoRates(path, fileRate, realRate, trace_.GetVideoOneSfasFrame())) {
        fileRate = 1;
        realRate = 1;
    }
    v.Clipdeck1()->setVisible(true);
    v.Clipdeck1()->setFileName(path);
    v.fileVideoRate = fileRate;
    v.realVideoRate = realRate;
    v.newPosition = videoSeconds(p, v.sfas, fileRate, realRate);
    v.comando(frmVideo::Seek);
}

float VideoSync::nextVideoInstant(float nextStart) {
    int32_t covering = -1;
    trace_.GetSfasVideo(videotime::wholeNumber(nextStart), &covering);
    return covering == numFileVideo ? nextStart + 1.0f : nextStart;
}

void VideoSync::open() {
    ImpostaVideo(static_cast<float>(trace_.posSec()));
    trace_.showSyncMarker(trace_.GetMaxLarghEtichette());
    videoWindow().show();
    trace_.setScrollingChangeEvent(false);
}

void VideoSync::close() {
    const QPointer<frmVideo> window = window_;
    if (!window) {
        return;
    }
    window->close();
    delete window.data();
}

void VideoSync::pageChanged() {
    const QPointer<frmVideo> v = window_;
    if (!v) {
        return;
    }
    const bool paused = v->comando(frmVideo::IsPaused);
    const bool stopped = v->comando(frmVideo::IsStopped);
    // A control with no file open (the window opened where there was no video, or a file
    // failed to open) is seeked like a paused one, so that the video appears once the trace
    // reaches a page that has one.
    const bool nothingOpen = v->Clipdeck1()->playState() == 0;
    if (v->changePageByPositionChangeProc) {
        // The page was turned by the video itself.
    } else if (!paused && !stopped && !nothingOpen) {
        if (v->comando(frmVideo::IsPlaying)) {
            // Reports of the old position still queued must not turn the page back.
            const frmVideo::ReportHold hold(*v);
            v->changePageByPositionChangeProc = true;
            v->comando(frmVideo::PauseVideo);
            QCoreApplication::processEvents();
            if (!v) {
                return;
            }
            ImpostaVideo(static_cast<float>(trace_.posSec()));
            if (numFileVideo == -1) {
                v->StopButton_Click();
            } else {
                v->comando(frmVideo::PlayVideo);
            }
            v->changePageByPositionChangeProc = false;
        }
    } else {
        v->changePageByPositionChangeProc = true;
        ImpostaVideo(static_cast<float>(trace_.posSec()));
        v->changePageByPositionChangeProc = false;
    }
}

void VideoSync::traceOpened() {
    numFileVideo = -1;
    if (window_) {
        window_->Clipdeck1()->setFileName(QString());
        enableButtons(*window_, false);
    }
}

void VideoSync::videoWindowUnloaded() {
    trace_.releaseVideoButton();
    numFileVideo = -1;
    trace_.hideSyncMarker();
    trace_.setScrollingChangeEvent(true);
    if (window_) {
        window_->deleteLater();
        window_.clear();
    }
}
