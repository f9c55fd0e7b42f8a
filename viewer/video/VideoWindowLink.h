#pragma once
// What the main window asks of the video window: open it at a page, close it, keep it in step
// with a page change. The video window fills these in; until it exists the main window's video
// button changes nothing but its own pressed state.

class VideoWindowLink {
public:
    virtual ~VideoWindowLink() = default;

    // The video button went down with the page at `posSec` on screen.
    virtual void open(int posSec) { (void)posSec; }
    // The video button went up, or the main window is closing with the button down.
    virtual void close() {}
    // A new page at `posSec` has been drawn while the video button is down.
    virtual void pageChanged(int posSec) { (void)posSec; }
    // Another recording has been opened: whatever video was loaded belongs to the previous one.
    virtual void traceOpened() {}
};
