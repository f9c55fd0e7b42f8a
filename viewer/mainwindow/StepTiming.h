#pragma once
// With VIEWER_TIMING set in the environment, the program prints to standard error how long it
// takes to show a page: once, from process start to the end of the first paint of the trace
// control showing a recording; and after each key or mouse press, from that press to the end
// of the trace control's next paint (the page a page step shows). Off otherwise.

#include <QObject>

#include <chrono>
#include <optional>

class CViewerCtrl;

class StepTiming : public QObject {
public:
    using Clock = std::chrono::steady_clock;

    // Watches `trace` when VIEWER_TIMING is set; `mainStart` is when main() began.
    static void installIfAsked(CViewerCtrl& trace, Clock::time_point mainStart);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    StepTiming(CViewerCtrl& trace, Clock::time_point mainStart);

    CViewerCtrl& trace_;
    Clock::time_point mainStart_;
    bool firstPageShown_ = false;
    std::optional<Clock::time_point> input_;
};
