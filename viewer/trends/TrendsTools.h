#pragma once
// The trends in the main window, wired in one place: the trend panel and the page spectrum
// as docks with their entries in the View menu ("Trends", "Page spectrum"), the computation
// of the open recording's trends while the panel is shown, the page followed as a cursor,
// the notes and the reviewer's events as marks, clicks in the panel moving the page through
// the scroll bar's Value.

#include "welch.h"

#include <QObject>
#include <QString>

class frmView;
class PagePower;
class TrendsPanel;
class TrendsRunner;

class TrendsTools : public QObject {
public:
    explicit TrendsTools(frmView& window);
    ~TrendsTools() override;
    TrendsTools(const TrendsTools&) = delete;
    TrendsTools& operator=(const TrendsTools&) = delete;

    // OpenTrace took `path`: its trends are shown (started when the panel is shown).
    void traceOpened(const QString& path);
    // OpenTrace was refused: the trends of the recording before are let go.
    void traceRefused();

    TrendsPanel& panel() const { return *panel_; }
    PagePower& spectrum() const { return *spectrum_; }
    TrendsRunner& runner() const { return *runner_; }
    // Moves the page to start at `seconds` through the scroll bar's Value.
    void jump(double seconds);

private:
    void start();
    void changed();
    void pageDrawn();
    void updateSpectrum();
    void updateMarks();

    frmView& window_;
    TrendsPanel* panel_ = nullptr;
    PagePower* spectrum_ = nullptr;
    TrendsRunner* runner_ = nullptr;
    viewer::trends::FftPlans plans_;
    QString path_;
    double startedSegment_ = 0.0; // the segment length of the trends started; 0: none
    QString montage_;
    QString error_;
};
