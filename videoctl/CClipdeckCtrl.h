#pragma once
// The video control: plays one video file inside its own window. The host assigns
// FileName; the control builds a media graph for the file, shows its first frame paused,
// then plays, pauses, stops, seeks, steps by frames and crops on command, and reports its
// position (PositionChange, milliseconds) and the end of the file (Complete).
// Members are declared in the order of their dispatch identifiers; a test holds that order.

#include "picture_layout.h"

#include <QEvent>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

typedef struct _GstPipeline GstPipeline; // NOLINT(bugprone-reserved-identifier): its own name
class ClipWorker;
namespace clipdeck {
class MediaGraph;
}

class CClipdeckCtrl : public QWidget {
    Q_OBJECT
    Q_CLASSINFO("ProgID", "CLIPDECK.ClipdeckCtrl.1")
    Q_CLASSINFO("TypeLibrary", "CLIPDECKLib")
    Q_CLASSINFO("TypeLibID", "{6158F2EB-E691-4376-A519-479C3D329D87}")
    Q_CLASSINFO("Version", "1.0")
    Q_CLASSINFO("InterfaceID", "{689D9DE6-873D-484E-A1B9-4D7E0729DE69}")
    Q_CLASSINFO("EventsID", "{84A3A52A-7326-4C08-96F5-73768C1A4757}")
    Q_CLASSINFO("ClassID", "{24C6CA47-7C0F-4FD5-B400-FB3D94493509}")
    Q_CLASSINFO("PropPageProgID", "CLIPDECK.ClipdeckPropPage.1")
    Q_CLASSINFO("PropPageID", "{42852E9A-6E21-4179-8CF5-57D9154DA039}")

    Q_PROPERTY(QString FileName READ FileName WRITE setFileName)
    Q_PROPERTY(int16_t playState READ playState WRITE setPlayState)
    Q_PROPERTY(double CurrentPosition READ CurrentPosition WRITE setCurrentPosition)

public:
    // Shows one failure: a caption and a text.
    using MessageReporter = std::function<void(const QString& caption, const QString& text)>;

    explicit CClipdeckCtrl(QWidget* parent = nullptr);
    // Ends the worker, then releases the graph.
    ~CClipdeckCtrl() override;

    // Assigning closes the open file (even for the same name) and opens this one.
    QString FileName() const { return fileName_; }
    void setFileName(const QString& name);
    // 0 no file, 1 stopped, 2 playing, 3 paused, 4 closing. A write replaces the value and
    // starts nothing.
    int16_t playState() const { return state_.load(); }
    void setPlayState(int16_t state) { state_.store(state); }
    // Seconds from the first frame. A write seeks; negative or non-finite values are ignored.
    double CurrentPosition();
    void setCurrentPosition(double seconds);

    Q_INVOKABLE int16_t Play();
    Q_INVOKABLE int16_t Stop();
    Q_INVOKABLE int16_t Pause();
    Q_INVOKABLE int16_t SetRelativeFramePosition(int32_t numframes);
    Q_INVOKABLE int16_t Crop(int32_t realWidth, int32_t realHeight);
    Q_INVOKABLE int16_t Uncrop();

    // Not part of the dispatch interface: for the host, tools and tests.
    // Replaces the modal message box; an empty reporter restores it.
    void setMessageReporter(MessageReporter reporter);
    // The names of the elements in the open graph, in the order they were added.
    QStringList graphElementNames() const;
    // The open graph's pipeline, or null.
    GstPipeline* pipeline() const;
    bool isModified() const { return modified_; }

signals:
    void Complete();
    void PositionChange(double posizione);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t openFile(const QString& name);
    void closeFile();
    void report(const char* caption, const std::string& text);
    int16_t applyState(uint32_t code, int16_t state);
    void postToSelf(QEvent::Type type, uint32_t value = 0);
    void framesChanged();
    void refreshPicture();

    QString fileName_;
    std::atomic<int16_t> state_{0};
    std::unique_ptr<clipdeck::MediaGraph> graph_;
    std::unique_ptr<ClipWorker> worker_;
    // What an open got as far as: the video renderer, the placed picture (which crops need)
    // and the graph's control, events and seeking.
    bool hasRenderer_ = false;
    bool hasMixer_ = false;
    bool hasControl_ = false;
    int64_t frameStep_ = 400000;
    int videoWidth_ = 0;
    int videoHeight_ = 0;
    double videoAspect_ = 0;
    PictureLayout layout_;
    QImage picture_;
    uint64_t pictureSerial_ = 0;
    std::atomic<bool> repaintPosted_{false};
    bool initialised_ = false;
    bool modified_ = false;
    MessageReporter reporter_;
};
