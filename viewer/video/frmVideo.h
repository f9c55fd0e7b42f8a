#pragma once
// The video window: a top-most window with the video control over a control panel that holds
// the play and stop buttons and the time panel. It maps the video's position reports to trace
// time, shows that time, moves the sync marker over the traces and turns the trace page when
// the video leaves it; at the end of one video file it goes on with the next. Everything it
// needs of the main window goes through the video sync of the main window.

#include <QPointer>
#include <QWidget>

#include <cstdint>

class CClipdeckCtrl;
class QFrame;
class QLabel;
class QPushButton;
class VideoSync;

class frmVideo : public QWidget {
    Q_OBJECT

public:
    // The window's load step runs here: flags reset, the video control prepared with an empty
    // file name, the stored placement applied. `owner` may be null.
    frmVideo(VideoSync& sync, QWidget* owner);
    ~frmVideo() override;

    // What `comando` is asked to do.
    enum Command : int16_t {
        PlayVideo = 1,
        PauseVideo = 2,
        Seek = 9,
        IsPaused = 10,
        IsStopped = 11,
        IsPlaying = 12,
    };

    // Trace time (ms) at which time zero of the loaded video lies; -1 when no video covers the
    // position last asked for.
    int32_t sfas = 0;
    // The time mapping of the loaded video: trace seconds = video seconds x realVideoRate /
    // fileVideoRate + sfas / 1000. 0 until the first video is set, then never 0.
    int32_t fileVideoRate = 0;
    int32_t realVideoRate = 0;
    // Seek target (video seconds) for comando 9.
    float newPosition = 0;
    // True while a page change made on behalf of the video is under way, so that the main
    // window's page-change step does not seek the video back.
    bool changePageByPositionChangeProc = false;

    // Drives the video control: 1 play, 2 pause (both only with a file name), 9 seek to
    // newPosition (raised to 0 when below); 10, 11, 12 answer whether it is paused, stopped,
    // playing. Every other command does nothing and answers false, as 1, 2 and 9 do.
    bool comando(int16_t tipo);
    // One position report of the video, in video seconds: time panel, page turn, marker.
    void UpdateBar(float Posiz);
    // The play button: plays unless it was the last of the two pressed.
    void PlayButton_Click();
    // The stop button: pauses unless it was the last of the two pressed.
    void StopButton_Click();
    // The video control's reports.
    void Clipdeck1_PositionChange(double posizione);
    void Clipdeck1_Complete();

    // Position reports that arrive while a hold is alive are dropped: the video is being
    // changed and sfas and the rates may belong half to the old video, half to the new one.
    class ReportHold {
    public:
        explicit ReportHold(frmVideo& window);
        ~ReportHold();
        ReportHold(const ReportHold&) = delete;
        ReportHold& operator=(const ReportHold&) = delete;

    private:
        QPointer<frmVideo> window_;
    };

    CClipdeckCtrl* Clipdeck1() const { return Clipdeck1_; }
    QFrame* ControlPanel() const { return ControlPanel_; }
    QPushButton* PlayButton() const { return PlayButton_; }
    QPushButton* StopButton() const { return StopButton_; }
    QLabel* TimePanel() const { return TimePanel_; }
    bool playLatched() const { return playLatched_; }
    bool stopLatched() const { return stopLatched_; }

    // Screen pixels of the layout.
    static constexpr int kPanelHeight = 55;
    static constexpr int kPlayLeft = 22;
    static constexpr int kStopLeft = 82;
    static constexpr int kButtonTop = 17;
    static constexpr int kTimePanelTop = 12;
    static constexpr int kTimePanelRightMargin = 14;
    // Smallest width and height of the window, in twips.
    static constexpr int kMinimumTwips = 3000;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPanel();
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void restorePlacement();
    void savePlacement();
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;
    // The time panel's text for `seconds` of trace time: "  hh:mm:ss.t".
    QString timeText(float seconds);

    VideoSync& sync_;
    CClipdeckCtrl* Clipdeck1_ = nullptr;
    QFrame* ControlPanel_ = nullptr;
    QPushButton* PlayButton_ = nullptr;
    QPushButton* StopButton_ = nullptr;
    QLabel* TimePanel_ = nullptr;

    bool positionBusy_ = false;
    bool playLatched_ = false;
    bool stopLatched_ = true;
    int reportHolds_ = 0;
    bool unloaded_ = false;
};
