#include "ReviewTools.h"

#include "CViewerCtrl.h"
#include "DataEndMark.h"
#include "GoToTime.h"
#include "HelpMenu.h"
#include "MeasureOverlay.h"
#include "MyScrollBar.h"
#include "NotesPanel.h"
#include "OpenFeedback.h"
#include "RecentFiles.h"
#include "TimeRuler.h"
#include "frmView.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

constexpr int kMessageMs = 15000;
// The notes panel is at most this share of the window's width, and may always be this wide.
constexpr int kNotesShare = 3;
constexpr int kNotesLeast = 120;

QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Viewer"),
                     QStringLiteral("Viewer"));
}

bool readShown(const char* key) {
    return store().value(QStringLiteral("Review/%1").arg(QLatin1String(key)), true).toBool();
}

void writeShown(const char* key, bool shown) {
    QSettings settings = store();
    settings.setValue(QStringLiteral("Review/%1").arg(QLatin1String(key)),
                      shown ? QStringLiteral("true") : QStringLiteral("false"));
}

// The first local file among the dropped URLs, or nothing.
QString droppedFile(const QMimeData* data) {
    if (data == nullptr) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

struct NavigateEntry {
    const char* text;
    const char* keys;
    ReviewCommand command;
};

constexpr NavigateEntry kNavigate[] = {
    {"Next page", "PgDn", ReviewCommand::PageForward},
    {"Previous page", "PgUp", ReviewCommand::PageBack},
    {"One second forward", "Right", ReviewCommand::SecondForward},
    {"One second back", "Left", ReviewCommand::SecondBack},
    {"Next note", "Ctrl+Right", ReviewCommand::NextNote},
    {"Previous note", "Ctrl+Left", ReviewCommand::PreviousNote},
    {"First page", "Home", ReviewCommand::FirstPage},
    {"Last page", "End", ReviewCommand::LastPage},
};

} // namespace

ReviewTools::ReviewTools(frmView& window) : window_(window), keys_(window) {
    CViewerCtrl& trace = *window.ViewTrace1();
    readout_ = new QLabel(&window);
    readout_->setObjectName(QStringLiteral("measureReadout"));
    // One line high from the start, so that the first readout does not resize the traces.
    readout_->setMinimumHeight(readout_->fontMetrics().height());
    window.statusBar()->addPermanentWidget(readout_);

    // Under the measurement overlay, whose ruler is drawn over it.
    dataEnd_ = new DataEndMark(trace);
    overlay_ = new MeasureOverlay(
        trace, [&window] { return window.posSec(); },
        [&window](ReviewCommand c) { runCommand(window, c); }, *readout_);

    // Notes an EDF+ file gives after its first page: listed as they come; the page's labels
    // once all are read.
    trace.setNotesGrown([this](bool complete) {
        notes_->reload();
        if (complete) {
            window_.ViewTrace1()->Redraw(false);
        }
    });

    ruler_ = new TimeRuler(trace, &window);
    rulerDock_ = new QDockWidget(&window);
    rulerDock_->setObjectName(QStringLiteral("rulerDock"));
    rulerDock_->setTitleBarWidget(new QWidget(rulerDock_));
    rulerDock_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    rulerDock_->setWidget(ruler_);
    ruler_->setFixedHeight(ruler_->sizeHint().height());
    window.setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    window.addDockWidget(Qt::BottomDockWidgetArea, rulerDock_);
    rulerDock_->setVisible(readShown("ShowRuler"));

    notes_ = new NotesPanel(
        trace,
        [&window](float seconds) {
            window.hscroll1()->setValue(noteJumpTarget(seconds, window.hscroll1()->max()));
            // After a jump the page keys page again.
            window.ViewTrace1()->setFocus(Qt::OtherFocusReason);
        },
        &window);
    window.addDockWidget(Qt::RightDockWidgetArea, notes_);
    const bool notesShown = readShown("ShowNotes");
    notes_->setVisible(notesShown);
    notes_->toggleViewAction()->setChecked(notesShown);
    keepPageKeysOnTraces();

    connect(&trace, &CViewerCtrl::DeleteNote, this, [this] { pageDrawn(); });
    window.setAcceptDrops(true);
    window.installEventFilter(this);
    buildMenus();
}

void ReviewTools::keepPageKeysOnTraces() {
    CViewerCtrl* trace = window_.ViewTrace1();
    for (QComboBox* list : {window_.cmbHighPass(), window_.cmbLowPass(), window_.cmbBaseTime(),
                            window_.cmbGain(), window_.cmbViewMode()}) {
        // A list takes the keys only when the reviewer moves into it (Tab), where its focus
        // frame shows it; a choice made with the mouse leaves the keys on the traces.
        list->setFocusPolicy(Qt::TabFocus);
        connect(list, &QComboBox::activated, this, [list, trace] {
            if (!list->hasFocus()) {
                trace->setFocus(Qt::OtherFocusReason);
            }
        });
    }
    // The window opens with the keys on the traces: left to itself, it would give them to
    // the first widget Tab reaches, the high-pass list, and PgDn would step the filter.
    trace->setFocus(Qt::OtherFocusReason);
}

void ReviewTools::buildMenus() {
    QMenuBar& bar = *window_.menuBar();
    if (auto* file = window_.findChild<QMenu*>(QStringLiteral("mnuFile"))) {
        window_.mnuOpen()->setShortcut(QKeySequence::Open);
        const QList<QAction*> items = file->actions();
        const qsizetype afterOpen = items.indexOf(window_.mnuOpen()) + 1;
        auto* recent = new QMenu(QStringLiteral("Recent"), file);
        file->insertMenu(items.value(afterOpen), recent);
        new RecentFiles(*recent, [this](const QString& path) { open(path); });
    }

    QMenu* view = bar.addMenu(QStringLiteral("View"));
    view->setObjectName(QStringLiteral("mnuView"));
    rulerAction_ = view->addAction(QStringLiteral("Time ruler"));
    rulerAction_->setObjectName(QStringLiteral("mnuRuler"));
    rulerAction_->setCheckable(true);
    rulerAction_->setChecked(readShown("ShowRuler"));
    connect(rulerAction_, &QAction::toggled, this, [this](bool shown) {
        rulerDock_->setVisible(shown);
        writeShown("ShowRuler", shown);
        if (shown) {
            ruler_->follow(window_.posSec());
        }
    });
    QAction* notes = notes_->toggleViewAction();
    notes->setText(QStringLiteral("Notes"));
    notes->setObjectName(QStringLiteral("mnuNotes"));
    view->addAction(notes);

    QMenu* navigate = bar.addMenu(QStringLiteral("Navigate"));
    navigate->setObjectName(QStringLiteral("mnuNavigate"));
    buildNavigateMenu(*navigate);

    QMenu* help = bar.addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    HelpMenu::fill(*help, window_);
}

void ReviewTools::buildNavigateMenu(QMenu& menu) {
    QAction* go = menu.addAction(QStringLiteral("Go to time..."));
    go->setObjectName(QStringLiteral("mnuGoToTime"));
    go->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    connect(go, &QAction::triggered, this, [this] { goToTime(); });
    menu.addSeparator();
    // The keys are shown, not bound: the window's key map runs them, so that a drop-down
    // list with the focus keeps its own keys.
    for (const NavigateEntry& entry : kNavigate) {
        QAction* action = menu.addAction(
            QStringLiteral("%1\t%2").arg(QLatin1String(entry.text), QLatin1String(entry.keys)));
        const ReviewCommand command = entry.command;
        connect(action, &QAction::triggered, this,
                [this, command] { runCommand(window_, command); });
    }
}

void ReviewTools::pageDrawn() {
    // A hidden ruler costs nothing; it catches up when shown.
    if (rulerAction_->isChecked()) {
        ruler_->follow(window_.posSec());
    }
    notes_->follow(window_.posSec());
    dataEnd_->follow();
    // A measurement belongs to its page; redrawing the same page keeps it.
    if (window_.posSec() != measuredPage_) {
        overlay_->clearRuler();
        measuredPage_ = window_.posSec();
    }
}

ReviewTools::~ReviewTools() { addDeferredRecent(); }

void ReviewTools::addDeferredRecent() {
    if (!recentToAdd_.isEmpty()) {
        RecentFiles::add(std::exchange(recentToAdd_, QString()));
    }
}

void ReviewTools::traceOpened(const QString& path) {
    if (window_.isVisible()) {
        addDeferredRecent(); // the older one first
        RecentFiles::add(path);
    } else {
        // The recording of the start-up: the list of recent files (a write to the disk) waits
        // until the first page is on screen.
        addDeferredRecent();
        recentToAdd_ = path;
        window_.ViewTrace1()->installEventFilter(this);
    }
    notes_->reload();
    pageDrawn();
    const QString message = openedMessage(path, window_.ViewTrace1()->recording());
    if (message.isEmpty()) {
        window_.statusBar()->clearMessage();
    } else {
        window_.statusBar()->showMessage(message, kMessageMs);
    }
}

void ReviewTools::traceRefused(const QString& path) {
    // Starting without a recording is no refusal.
    if (!path.isEmpty()) {
        window_.statusBar()->showMessage(refusalReason(path), kMessageMs);
    }
    // A file that changed between the check in open() and the control's own reading: the
    // control has let the recording go, so nothing may go on naming or showing it.
    if (!window_.ViewTrace1()->recording().isOpen() && !window_.traceFileName().isEmpty()) {
        window_.setWindowTitle(window_.versionText());
        window_.lblTime()->clear();
        notes_->reload();
        ruler_->follow(0);
        overlay_->clearRuler();
        readout_->clear();
    }
}

QString ReviewTools::statusMessage() const { return window_.statusBar()->currentMessage(); }

void ReviewTools::open(const QString& path) {
    for (int i = 0; i < NoteLabels::kCount; ++i) {
        window_.lblNota(i)->hide();
    }
    // A file that is no recording leaves the recording on screen open, whole, at its page:
    // it is looked at before the control lets the open one go.
    auto probe = std::make_unique<viewer::Recording>();
    if (!path.isEmpty() && !viewer::openRecording(*probe, QFile::encodeName(path).toStdString(),
                                                  viewer::NotesReading::Start)) {
        const QString reason = refusalReason(path);
        window_.statusBar()->showMessage(reason, kMessageMs);
        window_.ViewTrace1()->Redraw(false); // its note labels back
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Open"), reason,
                                    QMessageBox::Ok, &window_);
        box->setObjectName(QStringLiteral("openRefusal"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
        return;
    }
    probe.reset();
    window_.OpenTrace(path);
}

void ReviewTools::goToTime() {
    CViewerCtrl& trace = *window_.ViewTrace1();
    GoToTimeDialog dialog(&window_, trace.totalTrcSec(),
                          [&trace](int32_t s) { return trace.GetMont(s); });
    if (dialog.exec() == QDialog::Accepted) {
        window_.hscroll1()->setValue(dialog.second());
    }
}

bool ReviewTools::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_.ViewTrace1() && event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] { addDeferredRecent(); });
        return false;
    }
    if (watched != &window_) {
        return false;
    }
    if (event->type() == QEvent::Resize) {
        // The traces keep most of a small window: the panel gives way first.
        notes_->setMaximumWidth(std::max(window_.width() / kNotesShare, kNotesLeast));
        return false;
    }
    if (event->type() == QEvent::Close) {
        // As it is at exit, before closing hides it.
        writeShown("ShowNotes", notes_->toggleViewAction()->isChecked());
        return false;
    }
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (!droppedFile(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedFile(drop->mimeData());
        if (!path.isEmpty()) {
            drop->acceptProposedAction();
            open(path);
            return true;
        }
    }
    return false;
}
