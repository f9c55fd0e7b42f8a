#pragma once
// The review tools of the main window, wired to it in one place: the keys, the measurement
// overlay over the traces, the time ruler under them, the notes panel, go to time, recent
// files and dropped files, the status bar and the "View", "Navigate" and "Help" menus.
// Their settings live in the groups "Review" and "Recent" of the program's settings file.

#include "KeyboardMap.h"

#include <QObject>
#include <QString>

#include <cstdint>

class DataEndMark;
class frmView;
class MeasureOverlay;
class NotesPanel;
class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class TimeRuler;

class ReviewTools : public QObject {
public:
    explicit ReviewTools(frmView& window);
    ~ReviewTools() override;
    ReviewTools(const ReviewTools&) = delete;
    ReviewTools& operator=(const ReviewTools&) = delete;

    // OpenTrace took `path`, or refused it.
    void traceOpened(const QString& path);
    void traceRefused(const QString& path);

    // Opens `path` the way File > Open does (recent files, dropped files).
    void open(const QString& path);
    // Asks for a time and moves the page there.
    void goToTime();

    MeasureOverlay& overlay() const { return *overlay_; }
    TimeRuler& ruler() const { return *ruler_; }
    NotesPanel& notes() const { return *notes_; }
    DataEndMark& dataEnd() const { return *dataEnd_; }
    QLabel& readout() const { return *readout_; }
    QAction& rulerAction() const { return *rulerAction_; }
    // The last status-bar message.
    QString statusMessage() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keepPageKeysOnTraces();
    void buildMenus();
    void buildNavigateMenu(QMenu& menu);
    void pageDrawn();
    void addDeferredRecent();

    frmView& window_;
    KeyboardMap keys_;
    QLabel* readout_ = nullptr;
    DataEndMark* dataEnd_ = nullptr;
    MeasureOverlay* overlay_ = nullptr;
    TimeRuler* ruler_ = nullptr;
    QDockWidget* rulerDock_ = nullptr;
    NotesPanel* notes_ = nullptr;
    QAction* rulerAction_ = nullptr;
    int32_t measuredPage_ = -1;
    // The start-up's recording, added to the recent files once the first page is painted.
    QString recentToAdd_;
};
