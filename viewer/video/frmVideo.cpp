#include "frmVideo.h"

#include "CClipdeckCtrl.h"
#include "VideoSync.h"
#include "VideoTraceSide.h"
#include "WindowPlacement.h"
#include "text_face.h"
#include "video_helpers.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>

#include <cmath>
#include <limits>

namespace {

constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 26;
constexpr int kTimePanelHeight = 31;

// The program's settings store; values are decimal text read in the C locale, and a missing or
// unreadable value gives the default.

// The pictures of the two buttons: a triangle pointing right, a square.
QIcon buttonPicture(bool play) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(play ? QColor(0, 128, 0) : QColor(40, 40, 40));
    if (play) {
        const QPointF triangle[] = {{3, 1}, {14, 8}, {3, 15}};
        painter.drawPolygon(triangle, 3);
    } else {
        painter.drawRect(3, 3, 10, 10);
    }
    return QIcon(picture);
}

} // namespace

frmVideo::ReportHold::ReportHold(frmVideo& window) : window_(&window) { ++window.reportHolds_; }

frmVideo::ReportHold::~ReportHold() {
    if (window_) {
        --window_->reportHolds_;
    }
}

frmVideo::frmVideo(VideoSync& sync, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint), sync_(sync) {
    setObjectName(QStringLiteral("frmVideo"));
    Clipdeck1_ = new CClipdeckCtrl(this);
    Clipdeck1_->setObjectName(QStringLiteral("Clipdeck1"));
    buildPanel();
    const int minimum = static_cast<int>(std::ceil(kMinimumTwips / twipsPerPixelX()));
    setMinimumSize(minimum, static_cast<int>(std::ceil(kMinimumTwips / twipsPerPixelY())));

    connect(PlayButton_, &QPushButton::clicked, this, &frmVideo::PlayButton_Click);
    connect(StopButton_, &QPushButton::clicked, this, &frmVideo::StopButton_Click);
    connect(Clipdeck1_, &CClipdeckCtrl::PositionChange, this, &frmVideo::Clipdeck1_PositionChange);
    connect(Clipdeck1_, &CClipdeckCtrl::Complete, this, &frmVideo::Clipdeck1_Complete);
    Form_Load();
}

frmVideo::~frmVideo() = default;

void frmVideo::buildPanel() {
    ControlPanel_ = new QFrame(this);
    ControlPanel_->setObjectName(QStringLiteral("ControlPanel"));
    ControlPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);

    PlayButton_ = new QPushButton(ControlPanel_);
    PlayButton_->setObjectName(QStringLiteral("PlayButton"));
    PlayButton_->setIcon(buttonPicture(true));
    PlayButton_->setToolTip(QStringLiteral("Play"));
    PlayButton_->setGeometry(kPlayLeft, kButtonTop, kButtonWidth, kButtonHeight);

    StopButton_ = new QPushButton(ControlPanel_);
    StopButton_->setObjectName(QStringLiteral("StopButton"));
    StopButton_->setIcon(buttonPicture(false));
    StopButton_->setToolTip(QStringLiteral("Stop"));
    StopButton_->setGeometry(kStopLeft, kButtonTop, kButtonWidth, kButtonHeight);

    TimePanel_ = new QLabel(ControlPanel_);
    TimePanel_->setObjectName(QStringLiteral("TimePanel"));
    TimePanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    TimePanel_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = textFont(QStringLiteral("Arial"));
    font.setPointSize(12);
    font.setBold(true);
    TimePanel_->setFont(font);
    const int width =
        TimePanel_->fontMetrics().horizontalAdvance(QStringLiteral("  00:00:00.0")) + 20;
    TimePanel_->resize(width, kTimePanelHeight);
}

void frmVideo::Form_Load() {
    positionBusy_ = false;
    changePageByPositionChangeProc = false;
    playLatched_ = false;
    stopLatched_ = true;
    Clipdeck1_->setFileName(QString());
    setWindowTitle(Clipdeck1_->FileName());
    restorePlacement();
}

void frmVideo::restorePlacement() {
    WindowPlacement::restore(*this, QStringLiteral("Video"), {1000, 1000, 5000, 5000});
}

void frmVideo::savePlacement() { WindowPlacement::save(*this, QStringLiteral("Video")); }

double frmVideo::twipsPerPixelX() const { return WindowPlacement::twipsPerPixelX(*this); }

double frmVideo::twipsPerPixelY() const { return WindowPlacement::twipsPerPixelY(*this); }

void frmVideo::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmVideo::Form_Resize() {
    const int w = width();
    const int h = height();
    ControlPanel_->setGeometry(0, h - kPanelHeight, w, kPanelHeight);
    Clipdeck1_->setGeometry(0, 0, w, h - kPanelHeight);
    PlayButton_->move(kPlayLeft, kButtonTop);
    StopButton_->move(kStopLeft, kButtonTop);
    TimePanel_->move(ControlPanel_->width() - TimePanel_->width() - kTimePanelRightMargin,
                     kTimePanelTop);
    update();
}

void frmVideo::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmVideo::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    savePlacement();
    sync_.videoWindowUnloaded();
}

bool frmVideo::comando(int16_t tipo) {
    switch (tipo) {
    case PlayVideo:
        if (!Clipdeck1_->FileName().isEmpty()) {
            Clipdeck1_->Play();
        }
        return false;
    case PauseVideo:
        if (!Clipdeck1_->FileName().isEmpty()) {
            Clipdeck1_->Pause();
        }
        return false;
    case Seek:
        if (newPosition < 0) {
            newPosition = 0;
        }
        Clipdeck1_->setCurrentPosition(newPosition);
        return false;
    case IsPaused:
        return Clipdeck1_->playState() == 3;
    case IsStopped:
        return Clipdeck1_->playState() == 1;
    case IsPlaying:
        return Clipdeck1_->playState() == 2;
    default:
        return false;
    }
}

void frmVideo::PlayButton_Click() {
    if (playLatched_) {
        return;
    }
    playLatched_ = true;
    stopLatched_ = false;
    comando(PlayVideo);
}

void frmVideo::StopButton_Click() {
    if (stopLatched_) {
        return;
    }
    stopLatched_ = true;
    playLatched_ = false;
    comando(PauseVideo);
}

void frmVideo::Clipdeck1_PositionChange(double posizione) {
    if (positionBusy_ || reportHolds_ > 0) {
        return;
    }
    positionBusy_ = true;
    UpdateBar(static_cast<float>(posizione / 1000.0));
    positionBusy_ = false;
}

QString frmVideo::timeText(float seconds) {
    const float whole = std::floor(seconds);
    const int32_t clock = sync_.trace().GetTime(whole);
    const auto tenths = static_cast<int64_t>(std::nearbyint(static_cast<double>(seconds * 10.0f)));
    return QStringLiteral("  ") + Module1::FormatHhMmSs(clock) + QLatin1Char('.') +
           QString::number(tenths % 10);
}

void frmVideo::UpdateBar(float Posiz) {
    if (fileVideoRate == 0) {
        return;
    }
    VideoTraceSide& trace = sync_.trace();
    const float s = static_cast<float>(sfas) / 1000.0f;
    const float t =
        static_cast<float>(realVideoRate) * Posiz / static_cast<float>(fileVideoRate) + s;
    const int32_t posSec = trace.posSec();
    const float delta = t - static_cast<float>(posSec);

    TimePanel_->setText(timeText(s + Posiz));

    const float page = trace.secNumber();
    if (delta > page) {
        changePageByPositionChangeProc = true;
        const int32_t next = videotime::wholeNumber(static_cast<float>(posSec) + page);
        trace.setPagePosition(std::min(next, trace.scrollMax()));
        changePageByPositionChangeProc = false;
    } else if (delta < 0 && posSec != 0 && comando(IsPlaying)) {
        changePageByPositionChangeProc = true;
        const float back = static_cast<float>(posSec) - page;
        trace.setPagePosition(back < 0 ? 0 : videotime::wholeNumber(back));
        changePageByPositionChangeProc = false;
    }
    trace.moveSyncMarker(trace.GetPixelPosition(videotime::wholeNumber(delta * 1000.0f)));
}

void frmVideo::Clipdeck1_Complete() {
    const float next = sync_.trace().GetNextFileVideoStart(sync_.numFileVideo);
    if (next == -1.0f) {
        StopButton_Click();
        return;
    }
    sync_.ImpostaVideo(sync_.nextVideoInstant(next) / 1000.0f);
    comando(PlayVideo);
}
