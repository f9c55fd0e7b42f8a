#include "CClipdeckCtrl.h"

#include "clip_event.h"
#include "clip_worker.h"
#include "content_probe.h"
#include "failure_codes.h"
#include "file_kind.h"
#include "media_graph.h"
#include "message_text.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

using namespace clipdeck;

namespace {

constexpr int kPollMs = 50;
constexpr int kMaxPathLength = 259;
constexpr int64_t kFrameStep = 400000; // 40 ms in 100-ns units, whatever the file's rate

void showMessageBox(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok);
    box.exec();
}

int16_t low16(uint32_t code) {
    return static_cast<int16_t>(static_cast<uint16_t>(code));
}

} // namespace

CClipdeckCtrl::CClipdeckCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (!MediaGraph::initialise()) {
        report(kMessageCaption, "CoInitialize Failed!\r\n");
    }
}

CClipdeckCtrl::~CClipdeckCtrl() {
    state_.store(4);
    worker_.reset();
    graph_.reset();
}

void CClipdeckCtrl::setMessageReporter(MessageReporter reporter) {
    reporter_ = std::move(reporter);
}

void CClipdeckCtrl::report(const char* caption, const std::string& text) {
    const QString c = QString::fromUtf8(caption);
    const QString t = QString::fromStdString(text);
    if (reporter_) {
        reporter_(c, t);
    } else {
        showMessageBox(c, t);
    }
}

void CClipdeckCtrl::postToSelf(QEvent::Type type, uint32_t value) {
    QCoreApplication::postEvent(this, new ClipEvent(type, value));
}

void CClipdeckCtrl::closeFile() {
    state_.store(4);
    worker_.reset(); // the worker has ended before the graph goes
    graph_.reset();
    // What the closed file still had on its way to the host would now describe the wrong file.
    for (QEvent::Type type : {ClipEvent::kComplete, ClipEvent::kPosition, ClipEvent::kFailure}) {
        QCoreApplication::removePostedEvents(this, type);
    }
    hasRenderer_ = hasMixer_ = hasControl_ = false;
    videoWidth_ = videoHeight_ = 0;
    videoAspect_ = 0;
    layout_.letterbox();
    picture_ = QImage();
    pictureSerial_ = 0;
}

void CClipdeckCtrl::setFileName(const QString& name) {
    fileName_ = name;
    closeFile();
    if (!initialised_) {
        initialised_ = true;
        if (!MediaGraph::rendererAvailable()) {
            update();
            return;
        }
    }
    state_.store(0);
    const uint32_t code = openFile(name);
    update();
    if (hr::failed(code)) {
        return;
    }
    worker_ = std::make_unique<ClipWorker>(*this, *graph_, state_, kPollMs);
    modified_ = true;
}

uint32_t CClipdeckCtrl::openFile(const QString& name) {
    if (name.isEmpty()) {
        return hr::kPointer;
    }
    const std::string path = QFile::encodeName(name.left(kMaxPathLength)).toStdString();
    const Reporter reporter = [this](const std::string& caption, const std::string& text) {
        report(caption.c_str(), text);
    };
    graph_ = std::make_unique<MediaGraph>(reporter);
    uint32_t code = graph_->createPipeline();
    if (hr::failed(code)) {
        report(kMessageCaption,
               messageText("FAILED(hr=0x%x) in CoCreateInstance(CLSID_FilterGraph, NULL, "
                           "CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void **)&pGB)\n",
                           code));
        return code;
    }
    const bool avc = isAvcPath(path);
    const bool mpeg = probeIsMpeg(path, reporter);
    code = graph_->addVideoRenderer();
    if (hr::failed(code)) {
        report(kMessageCaption,
               messageText("FAILED(hr=0x%x) in InitializeWindowlessVMR(&pVmr)\n", code));
        return code;
    }
    hasRenderer_ = true;
    graph_->setFrameListener([this] { framesChanged(); });
    code = graph_->build(path, avc, mpeg);
    if (hr::failed(code)) {
        return code;
    }
    if (graph_->nativeSize(videoWidth_, videoHeight_, videoAspect_)) {
        layout_.letterbox();
        hasMixer_ = true;
    }
    hasControl_ = true;
    frameStep_ = kFrameStep;
    code = graph_->cueFirstFrame();
    if (hr::failed(code)) {
        report(kMessageCaption, messageText("FAILED(hr=0x%x) in pMC->Pause()\n", code));
        return code;
    }
    state_.store(3);
    return hr::kOk;
}

void CClipdeckCtrl::framesChanged() {
    // Runs on a streaming thread: it only asks the control's thread to repaint.
    if (!repaintPosted_.exchange(true)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                repaintPosted_.store(false);
                update();
            },
            Qt::QueuedConnection);
    }
}

int16_t CClipdeckCtrl::applyState(uint32_t code, int16_t state) {
    if (hr::failed(code)) {
        report(kMessageCaption, messageText("Failed to stop graph!  hr=0x%x", code));
    }
    state_.store(state);
    return hr::failed(code) ? 1 : 0;
}

int16_t CClipdeckCtrl::Play() {
    return hasControl_ ? applyState(graph_->run(), 2) : 1;
}

int16_t CClipdeckCtrl::Stop() {
    // Stopping keeps the cued frame on screen, so the graph only pauses.
    return hasControl_ ? applyState(graph_->pause(), 1) : 1;
}

int16_t CClipdeckCtrl::Pause() {
    return hasControl_ ? applyState(graph_->pause(), 3) : 1;
}

double CClipdeckCtrl::CurrentPosition() {
    if (!hasControl_) {
        return 0.0;
    }
    int64_t position = 0;
    const uint32_t code = graph_->readPosition(position);
    if (hr::failed(code)) {
        report(kMessageCaption,
               messageText("FAILED(hr=0x%x) in pMS->GetCurrentPosition(&posi)\n", code));
    }
    return static_cast<double>(position) * 1e-7;
}

void CClipdeckCtrl::setCurrentPosition(double seconds) {
    if (!hasControl_ || !std::isfinite(seconds) || seconds < 0) {
        return;
    }
    const double units = seconds * 1e7;
    const int64_t target =
        units >= 9.2e18 ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(units);
    graph_->seekTo(target);
    postToSelf(ClipEvent::kPosition, eventMilliseconds(seconds * 1000));
    modified_ = true;
}

int16_t CClipdeckCtrl::SetRelativeFramePosition(int32_t numframes) {
    if (!hasControl_) {
        return -1;
    }
    if (state_.load() != 3) {
        Pause();
    }
    int64_t current = 0;
    uint32_t code = graph_->readPosition(current);
    if (hr::failed(code)) {
        return low16(code);
    }
    const int64_t stop = graph_->stopTime();
    // A step before the first frame lands on it: positions are never negative.
    const int64_t target = std::max<int64_t>(0, current + frameStep_ * numframes);
    if (target <= stop) {
        code = graph_->seekTo(target);
        if (!hr::failed(code)) {
            postToSelf(ClipEvent::kPosition, static_cast<uint32_t>(target / 10000));
        }
    } else {
        code = graph_->seekTo(stop);
        if (!hr::failed(code)) {
            postToSelf(ClipEvent::kPosition, static_cast<uint32_t>(stop / 10000));
            postToSelf(ClipEvent::kComplete);
        }
    }
    return low16(code);
}

int16_t CClipdeckCtrl::Crop(int32_t realWidth, int32_t realHeight) {
    if (hasMixer_) {
        layout_.crop(realWidth, realHeight, videoWidth_, videoHeight_);
        update();
    }
    if (state_.load() != 2) {
        SetRelativeFramePosition(0);
    }
    return 0;
}

int16_t CClipdeckCtrl::Uncrop() {
    if (hasMixer_) {
        layout_.letterbox();
        update();
    }
    if (state_.load() != 2) {
        SetRelativeFramePosition(0);
    }
    return hasMixer_ ? 0 : 1;
}

QStringList CClipdeckCtrl::graphElementNames() const {
    QStringList names;
    if (graph_) {
        for (const std::string& name : graph_->elementNames()) {
            names << QString::fromStdString(name);
        }
    }
    return names;
}

GstPipeline* CClipdeckCtrl::pipeline() const {
    return graph_ ? graph_->pipeline() : nullptr;
}

bool CClipdeckCtrl::event(QEvent* e) {
    const QEvent::Type type = e->type();
    if (type == ClipEvent::kComplete) {
        emit Complete();
    } else if (type == ClipEvent::kPosition) {
        emit PositionChange(static_cast<double>(static_cast<ClipEvent*>(e)->value()));
    } else if (type == ClipEvent::kFailure) {
        report(kMessageCaption, messageText("FAILED(hr=0x%x) in pMS->GetCurrentPosition(&posi)\n",
                                            static_cast<ClipEvent*>(e)->value()));
    } else {
        return QWidget::event(e);
    }
    return true;
}

void CClipdeckCtrl::refreshPicture() {
    FramePixels pixels;
    if (!graph_ || !graph_->copyPicture(pictureSerial_, pixels)) {
        return;
    }
    if (pixels.bytes.empty()) {
        picture_ = QImage();
        return;
    }
    picture_ = QImage(pixels.width, pixels.height, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height; ++y) {
        std::memcpy(picture_.scanLine(y),
                    pixels.bytes.data() + static_cast<size_t>(y) * pixels.stride,
                    static_cast<size_t>(pixels.width) * 4);
    }
}

void CClipdeckCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!hasRenderer_) {
        painter.fillRect(rect(), Qt::white);
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        painter.drawEllipse(rect().adjusted(0, 0, -1, -1));
        return;
    }
    painter.fillRect(rect(), Qt::black);
    refreshPicture();
    if (picture_.isNull()) {
        return;
    }
    const double aspect =
        videoAspect_ > 0 ? videoAspect_ : static_cast<double>(picture_.width()) / picture_.height();
    painter.drawImage(layout_.target(QSizeF(size()), aspect), picture_);
}
