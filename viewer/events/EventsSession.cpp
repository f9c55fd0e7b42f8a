#include "EventsSession.h"

#include "atomic_file.h"

#include <QFile>
#include <QFileSystemWatcher>
#include <QUndoCommand>
#include <QUndoStack>

namespace ev = viewer::events;

namespace {

// One step of the session: events removed and events added, undone the other way round.
class EventChange : public QUndoCommand {
public:
    EventChange(EventsSession& session, const QString& what, std::vector<ev::Event> removed,
                std::vector<ev::Event> added)
        : QUndoCommand(what), session_(session), removed_(std::move(removed)),
          added_(std::move(added)) {}
    void redo() override { session_.apply(removed_, added_); }
    void undo() override { session_.apply(added_, removed_); }

private:
    EventsSession& session_;
    std::vector<ev::Event> removed_;
    std::vector<ev::Event> added_;
};

const ev::EventList kNoEvents;

} // namespace

EventsSession::EventsSession(QObject* parent)
    : QObject(parent), undo_(new QUndoStack(this)), watcher_(new QFileSystemWatcher(this)),
      dataFolder_(QString::fromStdString(ev::userDataFolder())) {
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { sidecarTouched(); });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { sidecarTouched(); });
}

EventsSession::~EventsSession() = default;

const ev::EventList& EventsSession::events() const { return store_ ? store_->events() : kNoEvents; }

void EventsSession::close() {
    undo_->clear();
    store_.reset();
    if (!watcher_->files().isEmpty()) {
        watcher_->removePaths(watcher_->files());
    }
    if (!watcher_->directories().isEmpty()) {
        watcher_->removePaths(watcher_->directories());
    }
}

void EventsSession::open(const QString& recordingPath, const std::string& identity) {
    close();
    const std::string path = QFile::encodeName(recordingPath).toStdString();
    store_ = std::make_unique<ev::EventStore>(ev::sidecarPlace(
        path, identity, QFile::encodeName(dataFolder_).toStdString(), ev::folderWritable));
    watch();
    const ev::SidecarPlace& place = store_->place();
    QString text;
    if (store_->readOnly()) {
        text = QStringLiteral("Events read-only: %1")
                   .arg(QString::fromStdString(store_->readOnlyReason()));
    } else if (place.fallback) {
        text = QStringLiteral("The recording's folder cannot be written; events are kept in %1")
                   .arg(QFile::decodeName(place.tsv.c_str()));
    }
    emit changed();
    if (!text.isEmpty()) {
        emit message(text);
    }
}

void EventsSession::watch() {
    // A save renames a new file over the old one: the folder is watched to see it come back.
    const QString tsv = QFile::decodeName(store_->place().tsv.c_str());
    watcher_->addPath(QFile::decodeName(ev::folderOf(store_->place().tsv).c_str()));
    if (QFile::exists(tsv)) {
        watcher_->addPath(tsv);
    }
}

bool EventsSession::change(const QString& what, std::vector<ev::Event> removed,
                           std::vector<ev::Event> added, QString* why) {
    if (!store_ || store_->readOnly()) {
        if (why != nullptr) {
            *why = store_ ? QString::fromStdString(store_->readOnlyReason())
                          : QStringLiteral("no recording is open");
        }
        return false;
    }
    undo_->push(new EventChange(*this, what, std::move(removed), std::move(added)));
    return true;
}

void EventsSession::apply(const std::vector<ev::Event>& removed,
                          const std::vector<ev::Event>& added) {
    ev::EventList list = store_->events();
    for (const ev::Event& e : removed) {
        list.remove(e);
    }
    for (const ev::Event& e : added) {
        list.add(e);
    }
    const std::string error = store_->commit(std::move(list));
    watch();
    emit changed();
    if (!error.empty()) {
        emit message(
            QStringLiteral("The events could not be saved: %1").arg(QString::fromStdString(error)));
    }
}

void EventsSession::sidecarTouched() {
    if (!store_) {
        return;
    }
    watch();
    if (!store_->changedOnDisk()) {
        return; // our own save, or nothing of the sidecar
    }
    if (store_->unsaved()) {
        emit message(QStringLiteral("The events file was changed by another program; it is not "
                                    "read again while changes of this window are unsaved"));
        return;
    }
    if (store_->reload()) {
        // The steps of the session no longer fit the list that was read.
        undo_->clear();
        emit changed();
        emit message(QStringLiteral("Events read again: the file was changed by another program"));
    } else {
        emit changed();
        emit message(QString::fromStdString(store_->readOnlyReason()));
    }
}
