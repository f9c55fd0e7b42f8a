#pragma once
// Fixture videos, made with ffmpeg and gst-launch-1.0 when first asked for, and a video
// control under test recording what it raised. Every video is 5 s at 25 frames per second,
// 256 x 144, its frame number burnt in as blue bars and digits; red rises from 0 to 255 left
// to right, green top to bottom. clip.mpg / silent.mpg: MPEG-2 program stream, MPEG audio /
// none; longgop.mpg: a key picture every 50 frames; clip.dat: RIFF "CDXA" around silent.mpg;
// clip.wmv / silent.wmv: WMV2 in ASF, WMA2 / none; clip.avi: MJPEG; clip.mts / sound.mts:
// H.264 in an MPEG transport stream, no sound / AAC.

#include "CClipdeckCtrl.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace viewer::testing {

inline constexpr int kVideoFrames = 125;
inline constexpr double kComplete = -1; // Complete, among the recorded events

// The path of fixture video `name`; fails the calling test when it cannot be made.
std::string fixtureVideo(const std::string& name);

struct Clip {
    Clip();
    // Opens fixture video `name`, or the file at `name` when it holds a '/'.
    void open(const std::string& name);
    void pump(int ms = 0); // lets posted events arrive for `ms` milliseconds (at least once)
    void clear() { events.clear(), messages.clear(); }
    // Lets what is on its way arrive, then records for `ms` milliseconds.
    void settle(int ms = 300) { pump(100), events.clear(), pump(ms); }
    auto completes() const { return std::count(events.begin(), events.end(), kComplete); }
    QImage paint();
    // The frame number burnt into the letterboxed picture; -1 when the bars are unclear.
    int frameShown();

    CClipdeckCtrl ctrl;
    std::vector<double> events; // PositionChange milliseconds, kComplete for Complete
    std::vector<std::pair<QString, QString>> messages;
    bool messagesOnControlThread = true;
};

} // namespace viewer::testing
