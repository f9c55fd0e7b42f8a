#include "EventsTools.h"

#include "CViewerCtrl.h"
#include "EdfExportMenu.h"
#include "EventDialog.h"
#include "EventMarks.h"
#include "EventTypesDialog.h"
#include "EventsOverlay.h"
#include "EventsSession.h"
#include "KeyboardMap.h"
#include "MeasureOverlay.h"
#include "MyScrollBar.h"
#include "NotesPanel.h"
#include "ReviewTools.h"
#include "TimeRuler.h"
#include "event_import.h"
#include "event_text.h"
#include "frmView.h"
#include "sidecar_place.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QUndoStack>

#include <cmath>
#include <limits>
#include <unordered_map>

namespace ev = viewer::events;

namespace {

constexpr int kMessageMs = 15000;
constexpr int kMarkKeys = 9;

// The whole second of a note time, within the 32-bit range (as the note search takes it).
int32_t wholeSecond(double seconds) {
    return static_cast<int32_t>(
        std::clamp<double>(std::floor(seconds), 0.0, std::numeric_limits<int32_t>::max()));
}

} // namespace

EventsTools::EventsTools(frmView& window)
    : window_(window), types_(EventTypes::load()), session_(new EventsSession(this)) {
    CViewerCtrl& trace = *window.ViewTrace1();
    overlay_ = new EventsOverlay(
        trace, window.review().overlay(), *session_, types_, [&window] { return window.posSec(); },
        [this](const ev::Event& e) { edit(e); }, [this](const QString& text) { say(text); });
    connect(session_, &EventsSession::changed, this, [this] { listChanged(); });
    connect(session_, &EventsSession::message, this, [this](const QString& t) { say(t); });
    connect(&trace, &CViewerCtrl::DeleteNote, this, [this] { pageDrawn(); });
    trace.setReportEvents([this, &trace](double start, double seconds) {
        return pageEventMarks(session_->events(), types_, trace, start, seconds);
    });
    if (auto* edf = window.findChild<EdfExportMenu*>()) {
        edf->setAnnotations([this] {
            std::vector<viewer::edf::ExportRequest::Annotation> annotations;
            for (const ev::Event& e : session_->events().all()) {
                annotations.push_back({e.onsetMs, e.durationMs, ev::annotationText(e)});
            }
            return annotations;
        });
    }
    qApp->installEventFilter(this);
    buildMenu();
}

EventsTools::~EventsTools() = default;

void EventsTools::buildMenu() {
    menu_ = new QMenu(QStringLiteral("Events"), &window_);
    menu_->setObjectName(QStringLiteral("mnuEvents"));
    QMenuBar& bar = *window_.menuBar();
    QMenu* help = window_.findChild<QMenu*>(QStringLiteral("mnuHelp"));
    bar.insertMenu(help != nullptr ? help->menuAction() : nullptr, menu_);
    QAction* undo = session_->undoStack().createUndoAction(menu_, QStringLiteral("Undo"));
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    QAction* redo = session_->undoStack().createRedoAction(menu_, QStringLiteral("Redo"));
    redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    menu_->addActions({undo, redo});
    menu_->addSeparator();
    markMenu_ = menu_->addMenu(QStringLiteral("Mark at the mouse"));
    fillMarkEntries();
    QAction* remove = menu_->addAction(QStringLiteral("Remove the selected event"));
    remove->setShortcut(QKeySequence::Delete);
    connect(remove, &QAction::triggered, this, [this] { removeSelected(); });
    QAction* editSelected = menu_->addAction(QStringLiteral("Edit the selected event..."));
    connect(editSelected, &QAction::triggered, this, [this] {
        if (overlay_->selected()) {
            edit(*overlay_->selected());
        }
    });
    menu_->addSeparator();
    connect(menu_->addAction(QStringLiteral("Event types...")), &QAction::triggered, this,
            [this] { editTypes(); });
    connect(menu_->addAction(QStringLiteral("Import events...")), &QAction::triggered, this,
            [this] {
                const QString path = QFileDialog::getOpenFileName(
                    &window_, QStringLiteral("Import events"), QString(),
                    QStringLiteral("Event tables (*.tsv *.csv *.txt);;All files (*)"));
                if (!path.isEmpty()) {
                    say(importTable(path));
                }
            });
}

void EventsTools::fillMarkEntries() {
    markMenu_->clear();
    for (int i = 0; i < static_cast<int>(types_.all().size()); ++i) {
        QAction* mark = markMenu_->addAction(types_.all()[static_cast<size_t>(i)].name);
        if (i < kMarkKeys) {
            mark->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)));
        }
        connect(mark, &QAction::triggered, this, [this, i] { markType(i); });
    }
}

void EventsTools::editTypes() {
    EventTypesDialog dialog(&window_, types_);
    if (dialog.exec() == QDialog::Accepted) {
        types_ = dialog.result();
        types_.save();
        fillMarkEntries();
        listChanged();
    }
}

void EventsTools::say(const QString& text) { window_.statusBar()->showMessage(text, kMessageMs); }

void EventsTools::traceOpened(const QString& path) {
    session_->open(path, ev::identityName(window_.ViewTrace1()->recording()));
}

void EventsTools::traceRefused() {
    if (!window_.ViewTrace1()->recording().isOpen() && session_->isOpen()) {
        session_->close();
        listChanged();
    }
}

void EventsTools::markType(int n) {
    if (n < 0 || n >= static_cast<int>(types_.all().size()) || !session_->isOpen()) {
        return;
    }
    const int64_t at = overlay_->mouseMs().value_or(int64_t{window_.posSec()} * 1000);
    overlay_->make(types_.all()[static_cast<size_t>(n)].name, at, 0, {});
}

void EventsTools::removeSelected() {
    const std::optional<ev::Event> selected = overlay_->selected();
    if (!selected) {
        return;
    }
    QString why;
    if (!session_->change(QStringLiteral("Remove %1").arg(QString::fromStdString(selected->type)),
                          {*selected}, {}, &why)) {
        say(QStringLiteral("Nothing removed: %1").arg(why));
    }
}

void EventsTools::edit(const ev::Event& event) {
    CViewerCtrl& trace = *window_.ViewTrace1();
    QStringList labels;
    for (int i = 0; i < trace.lineCount(); ++i) {
        labels << trace.lineLabel(i);
    }
    EventDialog dialog(&window_, event, types_, labels, trace.totalTrcSec());
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const ev::Event changed = dialog.result();
    QString why;
    if (changed == event) {
        return;
    }
    if (session_->change(QStringLiteral("Edit %1").arg(QString::fromStdString(changed.type)),
                         {event}, {changed}, &why)) {
        overlay_->select(changed);
    } else {
        say(QStringLiteral("Nothing changed: %1").arg(why));
    }
}

QString EventsTools::importTable(const QString& path) {
    const ev::ParsedEvents parsed = ev::readEventTable(QFile::encodeName(path).toStdString());
    if (!parsed.problem.empty() || !parsed.badLines.empty()) {
        const QString why = QString::fromStdString(
            parsed.problem.empty() ? ev::lineListText(parsed.badLines) + " cannot be read"
                                   : parsed.problem);
        QMessageBox::warning(&window_, QStringLiteral("Import events"),
                             QStringLiteral("Nothing imported from %1: %2").arg(path, why));
        return {};
    }
    ev::EventList merged = session_->events();
    const size_t before = merged.size();
    std::vector<ev::Event> added;
    for (const ev::Event& e : parsed.events) {
        if (!merged.containsFinding(e)) {
            merged.add(e);
            added.push_back(e);
        }
    }
    const size_t count = merged.size() - before;
    QString why;
    if (count > 0 && !session_->change(QStringLiteral("Import %1 events").arg(count), {},
                                       std::move(added), &why)) {
        return QStringLiteral("Nothing imported: %1").arg(why);
    }
    return QStringLiteral("Imported %1 of %2 events (%3 already there)")
        .arg(count)
        .arg(parsed.events.size())
        .arg(parsed.events.size() - count);
}

bool EventsTools::jumpToEvent(bool forward) {
    CViewerCtrl& trace = *window_.ViewTrace1();
    const int32_t pos = window_.posSec();
    const ev::EventList& events = session_->events();
    std::optional<int32_t> event;
    std::optional<int32_t> note;
    if (forward) {
        if (auto onset = events.nextOnsetAfter(int64_t{pos} * 1000 + 999)) {
            event = wholeSecond(*onset / 1000.0);
        }
    } else if (auto onset = events.previousOnsetBefore(int64_t{pos} * 1000)) {
        event = wholeSecond(*onset / 1000.0);
    }
    for (int32_t i = 0; i < std::numeric_limits<int32_t>::max(); ++i) {
        const float t = trace.GetPosNote(i);
        if (t == 0) {
            break;
        }
        const int32_t s = wholeSecond(t);
        if (forward && s > pos) {
            note = s;
            break;
        }
        if (!forward && s < pos) {
            note = s;
        }
    }
    const bool eventFirst = event && (!note || (forward ? *event < *note : *event > *note));
    if (!eventFirst) {
        return false; // the note search takes it, beeping at the end
    }
    window_.hscroll1()->setValue(std::min(*event, window_.hscroll1()->max()));
    return true;
}

bool EventsTools::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !isWindowKey(window_, watched)) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    const ReviewCommand command = commandForKey(key->key(), key->modifiers().toInt());
    if (command == ReviewCommand::NextNote || command == ReviewCommand::PreviousNote) {
        return jumpToEvent(command == ReviewCommand::NextNote);
    }
    return false;
}

void EventsTools::listChanged() {
    const ev::EventList& events = session_->events();
    if (overlay_->selected() && !events.find(*overlay_->selected())) {
        overlay_->select(std::nullopt);
    }
    std::vector<ListedRow> rows;
    rows.reserve(events.size());
    // Types and annotators are few: one shared text each.
    std::unordered_map<std::string, QString> shared;
    const auto once = [&shared](const std::string& text) {
        auto it = shared.find(text);
        if (it == shared.end()) {
            it = shared.emplace(text, QString::fromStdString(text)).first;
        }
        return it->second;
    };
    for (const ev::Event& e : events.all()) {
        QString text = QString::fromStdString(e.comment);
        if (!e.lines.empty()) {
            QString lines;
            for (const std::string& l : e.lines) {
                lines += (lines.isEmpty() ? QString() : QStringLiteral(", ")) +
                         QString::fromStdString(l);
            }
            text += (text.isEmpty() ? QString() : QStringLiteral(" ")) +
                    QStringLiteral("[%1]").arg(lines);
        }
        rows.push_back({e.onsetMs / 1000.0, false, once(e.type), text, once(e.annotator)});
    }
    window_.review().notes().setEvents(std::move(rows));
    window_.review().notes().follow(window_.posSec());
    overlay_->update();
    pageDrawn();
}

void EventsTools::pageDrawn() {
    const PageScale s = overlay_->scale();
    std::vector<RulerMark> marks;
    if (s.valid()) {
        const ev::EventList& events = session_->events();
        const int left = window_.ViewTrace1()->contentsRect().left();
        for (const size_t i :
             events.overlapping(s.startMs, s.startMs + static_cast<int64_t>(s.pageMs))) {
            const ev::Event& e = events.at(i);
            const auto clamp = [&](double x) {
                return static_cast<int32_t>(std::lround(std::clamp(x, s.left, s.left + s.width))) -
                       left;
            };
            marks.push_back({clamp(s.xOf(e.onsetMs)), clamp(s.xOf(e.endMs())),
                             types_.colourOf(QString::fromStdString(e.type))});
        }
    }
    window_.review().ruler().setMarks(std::move(marks));
}
