#include "EdfExportMenu.h"

#include "ExportRangeDialog.h"
#include "frmView.h"

#include "recording_queries.h"
#include "stretches.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>

namespace {

using viewer::edf::ExportResult;

QTime clockTime(int32_t secondsOfDay) {
    return QTime::fromMSecsSinceStartOfDay((secondsOfDay % 86400) * 1000);
}

} // namespace

EdfExportMenu::EdfExportMenu(frmView* window) : QObject(window), window_(window) {
    auto* file = window->menuBar()->findChild<QMenu*>(QStringLiteral("mnuFile"));
    action_ = new QAction(tr("Export to EDF+..."), this);
    action_->setObjectName(QStringLiteral("mnuExportEdf"));
    QAction* before = window->mnuClose();
    const QList<QAction*> actions = file->actions();
    const qsizetype at = actions.indexOf(before);
    if (at > 0 && actions[at - 1]->isSeparator()) {
        before = actions[at - 1];
    }
    file->insertAction(before, action_);
    connect(file, &QMenu::aboutToShow, this,
            [this] { action_->setEnabled(!window_->traceFileName().isEmpty() && !running()); });
    connect(action_, &QAction::triggered, this, &EdfExportMenu::exportTriggered);
}

EdfExportMenu::~EdfExportMenu() {
    cancel_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
}

void EdfExportMenu::exportTriggered() {
    if (running()) {
        return;
    }
    auto rec = std::make_unique<viewer::Recording>();
    const QString path = window_->traceFileName();
    if (!viewer::openRecording(*rec, QFile::encodeName(path).toStdString())) {
        QMessageBox::warning(window_, tr("Export to EDF+"), tr("%1 cannot be read.").arg(path));
        return;
    }
    namespace q = viewer::queries;
    const QString suffix =
        rec->header.bytesPerSample == 4 ? QStringLiteral(".bdf") : QStringLiteral(".edf");
    const QFileInfo info(path);
    ExportRangeDialog dialog(window_, clockTime(q::GetMont(*rec, window_->posSec())),
                             clockTime(q::GetMont(*rec, q::totalTrcSec(*rec))),
                             info.dir().filePath(info.completeBaseName() + suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.output().isEmpty()) {
        return;
    }
    viewer::edf::ExportRequest request;
    request.output = QFile::encodeName(dialog.output()).toStdString();
    // The format the name asks for; another name gets the samples' own and its suffix.
    request.format = viewer::edf::formatNamed(request.output)
                         .value_or(viewer::edf::ExportRequest::Format::AsSamples);
    if (!dialog.wholeRecording()) {
        request.firstFrame = int64_t{window_->posSec()} * rec->header.rate;
        request.endFrame = viewer::edf::frameAtTime(*rec, dialog.endTime().toStdString())
                               .value_or(request.firstFrame);
    }
    QStringList existing;
    for (const std::string& name : viewer::edf::plannedFiles(*rec, request)) {
        if (QFileInfo::exists(QFile::decodeName(name.c_str()))) {
            existing << QFile::decodeName(name.c_str());
        }
    }
    if (!existing.isEmpty() &&
        QMessageBox::question(window_, tr("Export to EDF+"),
                              tr("%1 exists already. Replace it?").arg(existing.join(", "))) !=
            QMessageBox::Yes) {
        return;
    }
    request.overwrite = true;
    if (annotations_) {
        request.annotations = annotations_();
    }
    start(std::move(rec), std::move(request));
}

void EdfExportMenu::start(std::unique_ptr<viewer::Recording> rec,
                          viewer::edf::ExportRequest request) {
    if (running()) {
        return;
    }
    cancel_ = false;
    workerEnded_ = false;
    ended_.reset();
    progress_ = new QProgressDialog(tr("Exporting to EDF+..."), tr("Cancel"), 0, 100, window_);
    progress_->setObjectName(QStringLiteral("EdfExportProgress"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setMinimumDuration(0);
    progress_->setAutoReset(false);
    progress_->setAutoClose(false);
    progress_->setValue(0);
    connect(progress_, &QProgressDialog::canceled, this, [this] {
        cancel_ = true;
        progress_->setLabelText(tr("Cancelling..."));
    });
    worker_ = std::thread([this, rec = std::move(rec), request = std::move(request)]() mutable {
        int shown = 0;
        request.progress = [this, &shown](int64_t written, int64_t total) {
            const int percent = total > 0 ? static_cast<int>(written * 100 / total) : 100;
            if (percent != shown) {
                shown = percent;
                QMetaObject::invokeMethod(
                    this, [this, percent] { showProgress(percent); }, Qt::QueuedConnection);
            }
            return !cancel_;
        };
        const ExportResult result = viewer::edf::exportRecording(*rec, request);
        const uint16_t rate = rec->header.rate;
        QMetaObject::invokeMethod(
            this, [this, result, rate] { done(result, rate); }, Qt::QueuedConnection);
        workerEnded_ = true;
    });
}

void EdfExportMenu::showProgress(int percent) {
    if (!progress_ || cancel_) {
        return;
    }
    ++progressDepth_;
    progress_->setValue(percent);
    --progressDepth_;
    if (progressDepth_ == 0 && ended_) {
        finish();
    }
}

void EdfExportMenu::report(int icon, const QString& text) {
    // Not modal: the window goes on answering while the message is up.
    auto* box = new QMessageBox(static_cast<QMessageBox::Icon>(icon), tr("Export to EDF+"), text,
                                QMessageBox::Ok, window_);
    box->setObjectName(QStringLiteral("EdfExportReport"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void EdfExportMenu::done(const ExportResult& result, uint16_t rate) {
    ended_.emplace(result, rate);
    if (progressDepth_ == 0) {
        finish();
    }
}

void EdfExportMenu::finish() {
    const auto [result, rate] = std::move(*ended_);
    ended_.reset();
    worker_.join();
    delete progress_;
    progress_ = nullptr;
    QString message;
    switch (result.outcome) {
    case ExportResult::Outcome::Written:
        message = QString::fromStdString(viewer::edf::summaryLine(result, rate));
        for (const std::string& w : result.warnings) {
            message += QStringLiteral("\n") + QString::fromStdString(w);
        }
        report(QMessageBox::Information, message);
        break;
    case ExportResult::Outcome::Cancelled:
        message = tr("The export was cancelled; no file was left behind.");
        break;
    case ExportResult::Outcome::Failed:
        message = tr("Nothing was exported: %1.").arg(QString::fromStdString(result.error));
        report(QMessageBox::Warning, message);
        break;
    }
    emit finished(result.outcome, message);
}
