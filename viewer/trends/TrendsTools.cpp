#include "TrendsTools.h"

#include "CViewerCtrl.h"
#include "EventsSession.h"
#include "EventsTools.h"
#include "MeasureOverlay.h"
#include "MontageFolder.h"
#include "MontageList.h"
#include "MyScrollBar.h"
#include "NotesPanel.h"
#include "PagePower.h"
#include "ReviewTools.h"
#include "TrendMontages.h"
#include "TrendsPanel.h"
#include "TrendsRunner.h"
#include "frmView.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>

#include <algorithm>
#include <cmath>

namespace tr = viewer::trends;

namespace {

QSettings store() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Viewer"),
                     QStringLiteral("Viewer"));
}

bool readShown(const QString& key) {
    return store().value(QStringLiteral("Trends/%1").arg(key), false).toBool();
}

void writeShown(const QString& key, bool shown) {
    QSettings s = store();
    s.setValue(QStringLiteral("Trends/%1").arg(key), shown);
}

} // namespace

TrendsTools::TrendsTools(frmView& window) : window_(window) {
    runner_ = new TrendsRunner(
        TrendsRunner::defaultCacheFolder(), [this] { changed(); }, this);
    panel_ = new TrendsPanel([this](double s) { jump(s); }, [this] { start(); }, &window);
    window.addDockWidget(Qt::TopDockWidgetArea, panel_);
    spectrum_ = new PagePower(&window);
    window.addDockWidget(Qt::RightDockWidgetArea, spectrum_);

    struct Entry {
        QDockWidget* dock;
        const char* text;
        const char* name;
        const char* key;
    };
    QMenu* view = window.menuBar()->findChild<QMenu*>(QStringLiteral("mnuView"));
    for (const Entry& e : {Entry{panel_, "Trends", "mnuTrends", "Shown"},
                           Entry{spectrum_, "Page spectrum", "mnuPageSpectrum", "SpectrumShown"}}) {
        const QString key = QString::fromLatin1(e.key);
        e.dock->setVisible(readShown(key));
        QAction* action = e.dock->toggleViewAction();
        action->setText(QString::fromLatin1(e.text));
        action->setObjectName(QString::fromLatin1(e.name));
        if (view != nullptr) {
            view->addAction(action);
        }
        connect(action, &QAction::toggled, this, [key](bool shown) { writeShown(key, shown); });
    }
    // Shown (by the menu, at start, as a tab brought forward): the trends start, the spectrum
    // is computed.
    connect(panel_, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown) {
            start();
        }
    });
    connect(spectrum_, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown) {
            updateSpectrum();
        }
    });
    CViewerCtrl& trace = *window.ViewTrace1();
    connect(&trace, &CViewerCtrl::DeleteNote, this, [this] { pageDrawn(); });
    connect(&window.events().session(), &EventsSession::changed, this, [this] { updateMarks(); });
    window.review().overlay().onMeasured([this] { updateSpectrum(); });
}

TrendsTools::~TrendsTools() { runner_->stop(); }

void TrendsTools::traceOpened(const QString& path) {
    path_ = path;
    startedSegment_ = 0.0;
    runner_->stop();
    start();
    updateMarks();
}

void TrendsTools::traceRefused() {
    if (!window_.ViewTrace1()->recording().isOpen()) {
        path_.clear();
        startedSegment_ = 0.0;
        runner_->stop();
        panel_->show(nullptr, QString());
    }
}

void TrendsTools::start() {
    // Once per recording and segment length: showing the panel again goes on with them.
    if (path_.isEmpty() || !panel_->isVisible() || startedSegment_ == panel_->segmentSeconds()) {
        return;
    }
    startedSegment_ = panel_->segmentSeconds();
    const CViewerCtrl& trace = *window_.ViewTrace1();
    std::vector<viewer::MontageDefinition> definitions = window_.montages().standard();
    const auto& own = window_.montages().folder().contents().montages;
    definitions.insert(definitions.end(), own.begin(), own.end());
    tr::TrendRequest request;
    request.path = QFile::encodeName(path_).toStdString();
    request.montage = trendMontage(trace, definitions);
    request.segmentSeconds = panel_->segmentSeconds();
    request.centreSeconds = window_.posSec();
    request.yieldToWindow = true;
    montage_ = QString::fromStdString(request.montage.name);
    error_.clear();
    if (!runner_->start(request, error_)) {
        panel_->show(nullptr, QStringLiteral("No trends: %1").arg(error_));
        return;
    }
    panel_->show(&runner_->data(), QString());
    changed();
    pageDrawn();
}

void TrendsTools::changed() {
    const tr::TrendData& d = runner_->data();
    if (d.segments == 0) {
        return;
    }
    QString status = QStringLiteral("%1, %2 s segments").arg(montage_).arg(d.segmentSeconds);
    if (runner_->fromCache()) {
        status += QStringLiteral(" (kept from an earlier look)");
    } else if (!runner_->complete()) {
        status +=
            QStringLiteral(": computing, %1 %").arg(100 * runner_->segmentsDone() / d.segments);
    }
    panel_->dataChanged(status);
}

void TrendsTools::jump(double seconds) {
    MyScrollBar& bar = *window_.hscroll1();
    bar.setValue(std::clamp(static_cast<int32_t>(std::floor(seconds)), bar.min(), bar.max()));
    window_.ViewTrace1()->setFocus(Qt::OtherFocusReason);
}

void TrendsTools::pageDrawn() {
    panel_->follow(window_.posSec(), window_.ViewTrace1()->secNumber());
    updateSpectrum();
}

void TrendsTools::updateSpectrum() {
    if (!spectrum_->isVisible()) {
        return;
    }
    const auto measured = window_.review().overlay().measuredSamples();
    const double rate = window_.ViewTrace1()->recording().header.rate;
    const QString what = measured && rate > 0
                             ? QStringLiteral("Measured stretch, %1 s")
                                   .arg((measured->second - measured->first + 1) / rate, 0, 'f', 2)
                             : QStringLiteral("Page");
    spectrum_->show(pageSpectra(*window_.ViewTrace1(), plans_, measured), what);
}

void TrendsTools::updateMarks() {
    CViewerCtrl& trace = *window_.ViewTrace1();
    std::vector<double> notes;
    std::vector<double> events;
    if (trace.recording().isOpen()) {
        for (const NoteRow& row : noteRows(trace)) {
            notes.push_back(row.seconds);
        }
        const EventsSession& session = window_.events().session();
        if (session.isOpen()) {
            for (const auto& e : session.events().all()) {
                events.push_back(static_cast<double>(e.onsetMs) / 1000.0);
            }
        }
    }
    const int startClock = trace.recording().isOpen() ? trace.GetMont(0) % 86400 : 0;
    panel_->setMarks(std::move(notes), std::move(events), startClock);
}
