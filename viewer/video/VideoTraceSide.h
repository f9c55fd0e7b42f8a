#pragma once
// What keeping the video in step asks of the main window: its page and scroll bar, the trace
// control's answers about the recording's video, the sync marker over the traces and the
// video button. The main window provides it; tests provide their own.

#include <QString>

#include <cstdint>

class QWidget;

class VideoTraceSide {
public:
    virtual ~VideoTraceSide() = default;

    // The window the video window belongs to (it closes with it), or null.
    virtual QWidget* ownerWindow() = 0;
    // Path of the open trace file.
    virtual QString traceFileName() const = 0;

    // The page on screen: its first second, its length (seconds) and the scroll bar's max.
    virtual int32_t posSec() const = 0;
    virtual float secNumber() = 0;
    virtual int32_t scrollMax() const = 0;
    // Turns the trace to the page starting at `sec` the way every navigation command does:
    // through the scroll bar's Value, whose change draws the page and runs the page-change step.
    virtual void setPagePosition(int32_t sec) = 0;
    // While false the scroll bar reports a change only when a drag ends; false also gives it
    // the focus.
    virtual void setScrollingChangeEvent(bool reportWhileDragging) = 0;

    // The trace control's answers.
    virtual int32_t GetSfasVideo(int32_t position, int32_t* videoFileNum) = 0;
    virtual float GetNextFileVideoStart(int32_t currentVideo) = 0;
    virtual int16_t GetVideoOneSfasFrame() = 0;
    virtual int32_t GetTime(float secondo) = 0;
    virtual int32_t GetPixelPosition(int32_t milliSec) = 0;
    virtual int32_t GetMaxLarghEtichette() = 0;

    // The one-pixel marker over the traces: shown at pixel `left` over the trace control's
    // whole height, moved, hidden.
    virtual void showSyncMarker(int left) = 0;
    virtual void moveSyncMarker(int left) = 0;
    virtual void hideSyncMarker() = 0;
    // Releases the tool bar's video button without running its action.
    virtual void releaseVideoButton() = 0;
};
