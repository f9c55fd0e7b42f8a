#pragma once
// A stand-in for the main window around the video sync, built from the real parts: the trace
// control, the time scroll bar, a red one-pixel marker over the traces and the video button's
// pressed state. Like the main window, every page change goes through the scroll bar, whose
// change draws the page and, while the video button is down, runs the page-change step.
// The video control's messages are recorded instead of shown.

#include "CClipdeckCtrl.h"
#include "CViewerCtrl.h"
#include "MyScrollBar.h"
#include "VideoSync.h"
#include "VideoTraceSide.h"
#include "frmVideo.h"
#include "recording_writer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace viewer::testing {

// Four EEG channels at 256 frames per second for `seconds`, with the video index `videos`.
inline RecordingDescription videoRecording(std::vector<VideoRecord> videos, int seconds = 30) {
    RecordingDescription d;
    const char* labels[] = {"Fp1", "Fp2", "O1", "O2"};
    const uint16_t codes[] = {1, 2, 14, 15};
    for (int i = 0; i < 4; ++i) {
        d.order.push_back(codes[i]);
        d.electrodes[codes[i]] = eegElectrode(labels[i]);
    }
    d.frames = int64_t{seconds} * 256;
    d.sample = [](int64_t frame, int channel) {
        return static_cast<int32_t>(32768 + (frame % 64) * 8 - 256 + 40 * channel);
    };
    d.recHour = 10;
    d.recMinute = 0;
    d.recSecond = 0;
    d.videoFlag = true;
    d.videoIndex = !videos.empty();
    d.videos = std::move(videos);
    return d;
}

// Lets posted events run until `done` holds or `ms` milliseconds have passed; whether it held.
inline bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class MiniMainWindow : public VideoTraceSide {
public:
    explicit MiniMainWindow(const QString& programFolder = QStringLiteral(VIEWER_BIN_DIR))
        : sync(*this, numFileVideo, programFolder) {
        window.resize(800, 420);
        trace = new CViewerCtrl(&window);
        trace->setGeometry(0, 0, 800, 399);
        scroll = new MyScrollBar(&window);
        scroll->setGeometry(0, 399, 800, 21);
        marker = new QWidget(trace);
        marker->setAutoFillBackground(true);
        marker->setStyleSheet(QStringLiteral("background: red"));
        marker->hide();
        QObject::connect(scroll, &MyScrollBar::change, [this] { change(); });
        window.show();
    }

    // Opens the recording at `path` as the main window does; false when the control refuses it.
    bool openTrace(const std::string& path) {
        const QString name = QString::fromStdString(path);
        scroll->setValue(0);
        if (trace->FileName(name) == -1) {
            return false;
        }
        traceName = name;
        sync.traceOpened();
        trace->DrawPage(pos);
        scroll->setMin(0);
        scroll->setMax(trace->totalTrcSec());
        scroll->setSmallChange(1);
        scroll->setLargeChange(trace->secNumber());
        return true;
    }
    void setPageLength(float seconds) {
        trace->SetSecNumber(seconds);
        scroll->setLargeChange(trace->secNumber());
    }
    // The video window, loaded, with its video control's messages recorded.
    frmVideo& video() {
        frmVideo& v = sync.videoWindow();
        v.Clipdeck1()->setMessageReporter(
            [this](const QString&, const QString& text) { messages << text; });
        return v;
    }
    void pressVideoButton() {
        video();
        videoButton = true;
        sync.open();
    }
    void releaseVideoButton(bool runAction) {
        videoButton = false;
        if (runAction) {
            sync.close();
        }
    }
    CClipdeckCtrl& clip() { return *video().Clipdeck1(); }

    // VideoTraceSide
    QWidget* ownerWindow() override { return &window; }
    QString traceFileName() const override { return traceName; }
    int32_t posSec() const override { return pos; }
    float secNumber() override { return trace->secNumber(); }
    int32_t scrollMax() const override { return scroll->max(); }
    void setPagePosition(int32_t sec) override { scroll->setValue(sec); }
    void setScrollingChangeEvent(bool reportWhileDragging) override {
        if (!reportWhileDragging) {
            scroll->setFocus();
        }
        scroll->setScrollingChangeEvent(reportWhileDragging);
    }
    int32_t GetSfasVideo(int32_t position, int32_t* videoFileNum) override {
        return trace->GetSfasVideo(position, videoFileNum);
    }
    float GetNextFileVideoStart(int32_t currentVideo) override {
        return trace->GetNextFileVideoStart(currentVideo);
    }
    int16_t GetVideoOneSfasFrame() override { return trace->GetVideoOneSfasFrame(); }
    int32_t GetTime(float secondo) override { return trace->GetTime(secondo); }
    int32_t GetPixelPosition(int32_t milliSec) override {
        return trace->GetPixelPosition(milliSec);
    }
    int32_t GetMaxLarghEtichette() override { return trace->GetMaxLarghEtichette(); }
    void showSyncMarker(int left) override {
        marker->setGeometry(left, 0, 1, trace->height());
        marker->show();
    }
    void moveSyncMarker(int left) override { marker->move(left, 0); }
    void hideSyncMarker() override { marker->hide(); }
    void releaseVideoButton() override { videoButton = false; }

    QWidget window;
    CViewerCtrl* trace = nullptr;
    MyScrollBar* scroll = nullptr;
    QWidget* marker = nullptr;
    bool videoButton = false;
    int32_t pos = 0;
    QString traceName;
    std::vector<int32_t> pagesDrawn;
    QStringList messages;
    int32_t numFileVideo = -1;
    // Declared last: it goes first, taking the video window with it.
    VideoSync sync;

private:
    void change() {
        pos = static_cast<int32_t>(std::nearbyint(scroll->Value()));
        trace->DrawPage(pos);
        pagesDrawn.push_back(pos);
        if (videoButton) {
            sync.pageChanged();
            QCoreApplication::processEvents();
        }
    }
};

} // namespace viewer::testing
