#pragma once
// A main window side whose answers the test sets, recording what the video side asks of it.
// Clock: GetTime(s) is kClockBase + s (whole seconds); GetPixelPosition(ms) is
// kLabelWidth + ms / 10 within a page, -1 outside it.

#include "VideoTraceSide.h"

#include <cmath>
#include <functional>
#include <vector>

namespace viewer::testing {

class ScriptedTraceSide : public VideoTraceSide {
public:
    static constexpr int32_t kClockBase = 36000; // 10:00:00
    static constexpr int32_t kLabelWidth = 60;

    QWidget* ownerWindow() override { return nullptr; }
    QString traceFileName() const override { return traceName; }
    int32_t posSec() const override { return pos; }
    float secNumber() override { return page; }
    int32_t scrollMax() const override { return max; }
    void setPagePosition(int32_t sec) override {
        pagesSet.push_back(sec);
        pos = sec;
        if (onPageSet) {
            onPageSet();
        }
    }
    void setScrollingChangeEvent(bool reportWhileDragging) override {
        scrollingChangeEvent = reportWhileDragging;
    }
    int32_t GetSfasVideo(int32_t position, int32_t* videoFileNum) override {
        sfasAsked.push_back(position);
        *videoFileNum = sfasFile;
        return sfasStart;
    }
    float GetNextFileVideoStart(int32_t currentVideo) override {
        nextAsked.push_back(currentVideo);
        return nextStart;
    }
    int16_t GetVideoOneSfasFrame() override { return delay; }
    int32_t GetTime(float secondo) override {
        timeAsked.push_back(secondo);
        return kClockBase + static_cast<int32_t>(std::trunc(secondo));
    }
    int32_t GetPixelPosition(int32_t milliSec) override {
        pixelAsked.push_back(milliSec);
        if (milliSec < 0 || milliSec > static_cast<int32_t>(page * 1000)) {
            return -1;
        }
        return kLabelWidth + milliSec / 10;
    }
    int32_t GetMaxLarghEtichette() override { return kLabelWidth; }
    void showSyncMarker(int left) override {
        markerVisible = true;
        marker = left;
    }
    void moveSyncMarker(int left) override { marker = left; }
    void hideSyncMarker() override { markerVisible = false; }
    void releaseVideoButton() override { videoButtonReleased = true; }

    QString traceName;
    int32_t pos = 0;
    float page = 10;
    int32_t max = 600;
    int32_t sfasStart = -1;
    int32_t sfasFile = -1;
    float nextStart = -1;
    int16_t delay = 0;
    std::function<void()> onPageSet;

    std::vector<int32_t> pagesSet;
    std::vector<int32_t> sfasAsked;
    std::vector<int32_t> nextAsked;
    std::vector<float> timeAsked;
    std::vector<int32_t> pixelAsked;
    bool scrollingChangeEvent = true;
    bool markerVisible = false;
    int marker = -100;
    bool videoButtonReleased = false;
};

} // namespace viewer::testing
