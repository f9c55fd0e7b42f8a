#pragma once
// One video control under test, with the events it raised and the messages it showed
// recorded instead of shown, and ways to read what it paints.

#include "CClipdeckCtrl.h"

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <string>
#include <utility>
#include <vector>

namespace viewer::testing {

struct ClipEventRecord {
    std::string name; // "Complete" or "PositionChange"
    double value = 0; // milliseconds for PositionChange
};

class ClipHarness {
public:
    explicit ClipHarness(QSize size = QSize(320, 240));

    CClipdeckCtrl& ctrl() { return ctrl_; }
    void open(const std::string& path);
    // Lets posted events arrive for `ms` milliseconds (at least once).
    void pump(int ms = 0);
    void clear();

    const std::vector<ClipEventRecord>& events() const { return events_; }
    int count(const std::string& name) const;
    // The milliseconds of every PositionChange, in order.
    std::vector<double> positions() const;
    const std::vector<std::pair<QString, QString>>& messages() const { return messages_; }
    // True when every message was shown on the control's thread.
    bool messagesOnControlThread() const { return onControlThread_; }

    QImage paint();
    // Where a letterboxed fixture picture lies in the control.
    QRectF letterboxRect() const;
    // The frame number burnt into the picture painted at `picture`; -1 when the bars are
    // not clear black or blue.
    int frameShown(const QRectF& picture);
    int frameShown() { return frameShown(letterboxRect()); }

private:
    CClipdeckCtrl ctrl_;
    std::vector<ClipEventRecord> events_;
    std::vector<std::pair<QString, QString>> messages_;
    bool onControlThread_ = true;
};

// The frame number read from an image of a fixture picture drawn at `picture`.
int readFrameNumber(const QImage& image, const QRectF& picture);

} // namespace viewer::testing
