#pragma once
// The events of the recording open in the main window: its sidecar store, every change of
// the session on an undo stack (each saved at once), and a watch on the sidecar so that a
// change made by another program (a detector appending its findings) is read again when
// this window has nothing unsaved.

#include "event_store.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QFileSystemWatcher;
class QUndoStack;

class EventsSession : public QObject {
    Q_OBJECT

public:
    explicit EventsSession(QObject* parent = nullptr);
    ~EventsSession() override;

    // Opens the events of the recording at `recordingPath` with identity `identity`; the
    // previous recording's are given back (lock released) first.
    void open(const QString& recordingPath, const std::string& identity);
    // Gives the events back; nothing is open afterwards.
    void close();
    bool isOpen() const { return store_ != nullptr; }

    const viewer::events::EventList& events() const;
    const viewer::events::EventStore* store() const { return store_.get(); }
    QUndoStack& undoStack() const { return *undo_; }

    // Removes `removed` and adds `added` as one step of the undo stack, saved at once.
    // False, with the reason in `why`, when the events are read-only.
    bool change(const QString& what, std::vector<viewer::events::Event> removed,
                std::vector<viewer::events::Event> added, QString* why = nullptr);

    // Applies a step to the list and saves it (the undo stack's commands call this).
    void apply(const std::vector<viewer::events::Event>& removed,
               const std::vector<viewer::events::Event>& added);

    // Where the data folder for recordings in read-only folders is (tests point it elsewhere).
    void setDataFolder(const QString& folder) { dataFolder_ = folder; }

signals:
    // The list changed (a step, an undo or redo, a reload, another recording).
    void changed();
    // Something for the status bar.
    void message(const QString& text);

private:
    void watch();
    void sidecarTouched();

    std::unique_ptr<viewer::events::EventStore> store_;
    QUndoStack* undo_ = nullptr;
    QFileSystemWatcher* watcher_ = nullptr;
    QString dataFolder_;
};
