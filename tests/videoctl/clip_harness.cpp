#include "clip_harness.h"

#include "video_fixtures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace viewer::testing {

ClipHarness::ClipHarness(QSize size) {
    ctrl_.resize(size);
    ctrl_.show();
    ctrl_.setMessageReporter([this](const QString& caption, const QString& text) {
        onControlThread_ = onControlThread_ && QThread::currentThread() == ctrl_.thread();
        messages_.emplace_back(caption, text);
    });
    QObject::connect(&ctrl_, &CClipdeckCtrl::Complete, [this] {
        events_.push_back({"Complete", 0});
    });
    QObject::connect(&ctrl_, &CClipdeckCtrl::PositionChange, [this](double ms) {
        events_.push_back({"PositionChange", ms});
    });
    QCoreApplication::processEvents();
}

void ClipHarness::open(const std::string& path) {
    ctrl_.setFileName(QString::fromStdString(path));
}

void ClipHarness::pump(int ms) {
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (ms > 0) {
            QThread::msleep(2);
        }
    } while (timer.elapsed() < ms);
}

void ClipHarness::clear() {
    events_.clear();
    messages_.clear();
}

int ClipHarness::count(const std::string& name) const {
    return static_cast<int>(std::count_if(
        events_.begin(), events_.end(), [&](const ClipEventRecord& e) { return e.name == name; }));
}

std::vector<double> ClipHarness::positions() const {
    std::vector<double> out;
    for (const ClipEventRecord& e : events_) {
        if (e.name == "PositionChange") {
            out.push_back(e.value);
        }
    }
    return out;
}

QImage ClipHarness::paint() {
    QCoreApplication::processEvents();
    return ctrl_.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRectF ClipHarness::letterboxRect() const {
    const double width = ctrl_.width();
    const double height = ctrl_.height();
    const double aspect = static_cast<double>(kVideoWidth) / kVideoHeight;
    if (width > height * aspect) {
        return QRectF((width - height * aspect) / 2, 0, height * aspect, height);
    }
    return QRectF(0, (height - width / aspect) / 2, width, width / aspect);
}

int ClipHarness::frameShown(const QRectF& picture) {
    return readFrameNumber(paint(), picture);
}

int readFrameNumber(const QImage& image, const QRectF& picture) {
    int number = 0;
    const int y = static_cast<int>(picture.top() + picture.height() / 8);
    for (int bit = 0; bit < 8; ++bit) {
        const int x = static_cast<int>(picture.left() + (bit + 0.5) * picture.width() / 8);
        if (!image.rect().contains(x, y)) {
            return -1;
        }
        const int blue = qBlue(image.pixel(x, y));
        if (blue > 160) {
            number |= 1 << bit;
        } else if (blue > 96) {
            return -1;
        }
    }
    return number;
}

} // namespace viewer::testing
