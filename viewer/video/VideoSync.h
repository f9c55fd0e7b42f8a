#pragma once
// The main window's side of keeping video and trace in step: which video file is loaded,
// ImpostaVideo (choose, load and seek the video for a trace instant), the video button's
// down and up steps and the page-change step. It owns the video window while it is open and
// reaches the rest of the main window through a VideoTraceSide.

#include <QPointer>
#include <QString>

#include <cstdint>

class VideoTraceSide;
class frmVideo;

class VideoSync {
public:
    // `numFileVideo` is the main window's; `programFolder` is where the placeholder
    // "noVideo.mpg" is.
    VideoSync(VideoTraceSide& trace, int32_t& numFileVideo, QString programFolder);
    // Destroys the video window, if it is open, without its unload steps.
    ~VideoSync();
    VideoSync(const VideoSync&) = delete;
    VideoSync& operator=(const VideoSync&) = delete;

    // The main window's record of the video file loaded in the video control: -1 none or the
    // placeholder, -2 the single video named after the trace file, 0 and up a numbered file.
    int32_t& numFileVideo;

    // The video window; the first reference loads it.
    frmVideo& videoWindow();
    // The video window when it is loaded, else null.
    frmVideo* loadedVideoWindow() const;

    // Shows the video of trace second `posizione`: loads the file that covers it unless it is
    // the one loaded, then seeks to the matching instant. Where no video covers it, the play
    // and stop buttons are disabled and a loaded video gives way to the placeholder.
    void ImpostaVideo(float posizione);
    // The trace time (ms) at which to ask for the video that starts at `nextStart` (ms) after
    // the loaded one: that start, or a millisecond later when the loaded video also covers it
    // (it ends exactly there), so that the next file is loaded rather than the loaded one
    // being seeked to its end.
    float nextVideoInstant(float nextStart);

    // The video button went down: video at the page start, marker at the first pixel of the
    // traces, video window shown on top, scroll bar reporting only at the end of a drag.
    void open();
    // The video button went up (or the main window is closing): unloads the video window.
    void close();
    // A new page has been drawn while the video button is down: a paused or stopped video is
    // seeked there; a playing one is paused, seeked and played on (paused with the stop
    // button latched where the page has no video). Nothing when the page change came from the
    // video itself. The caller then lets pending events run.
    void pageChanged();
    // Another recording has been opened: the loaded video belongs to the previous one, so the
    // video control is emptied and the next ImpostaVideo loads afresh.
    void traceOpened();
    // The video window is unloading: video button up, no video loaded, marker hidden, scroll
    // bar reporting while dragging again.
    void videoWindowUnloaded();

    VideoTraceSide& trace() { return trace_; }

private:
    VideoTraceSide& trace_;
    QString programFolder_;
    QPointer<frmVideo> window_;
};
