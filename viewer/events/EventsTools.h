#pragma once
// The reviewer's events in the main window, wired to it in one place: the events of the
// open recording (EventsSession), the overlay over the traces, the "Events" menu with its
// keys (Ctrl+1 .. Ctrl+9, Delete, Ctrl+Z, Ctrl+Shift+Z), Ctrl+Right/Ctrl+Left through notes
// and events, the events in the notes panel and on the time ruler, on exported and printed
// pages and in the EDF+ export.

#include "EventTypes.h"
#include "event_record.h"

#include <QObject>
#include <QString>

#include <memory>

class EventsOverlay;
class EventsSession;
class QMenu;
class frmView;

class EventsTools : public QObject {
public:
    explicit EventsTools(frmView& window);
    ~EventsTools() override;
    EventsTools(const EventsTools&) = delete;
    EventsTools& operator=(const EventsTools&) = delete;

    // OpenTrace took `path`: its events are opened (those of the previous one given back).
    void traceOpened(const QString& path);
    // OpenTrace was refused: when the control has let its recording go, so do the events.
    void traceRefused();

    EventsSession& session() const { return *session_; }
    EventsOverlay& overlay() const { return *overlay_; }
    const EventTypes& types() const { return types_; }
    QMenu& menu() const { return *menu_; }

    // Marks an event of type number `n` (from 0) at the mouse's instant over the traces, or
    // at the page's start when the mouse is elsewhere.
    void markType(int n);
    // Removes the selected event.
    void removeSelected();
    // Opens the edit dialog on `event` and saves what it returns.
    void edit(const viewer::events::Event& event);
    // Imports the events of a TSV or CSV table, merging without duplicates; the message.
    QString importTable(const QString& path);
    // Ctrl+Right (`forward`) or Ctrl+Left when an event comes before the next (previous)
    // note: moves the page to it and returns true.
    bool jumpToEvent(bool forward);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void fillMarkEntries();
    void editTypes();
    void listChanged();
    void pageDrawn();
    void say(const QString& text);

    frmView& window_;
    EventTypes types_;
    EventsSession* session_ = nullptr;
    EventsOverlay* overlay_ = nullptr;
    QMenu* menu_ = nullptr;
    QMenu* markMenu_ = nullptr;
};
