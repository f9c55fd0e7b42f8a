#pragma once
// File > "Export to EDF+...": asks what to export and where, asks before replacing a file,
// then converts on a worker thread behind a progress dialog whose Cancel stops the export
// and removes what it had begun. The window stays responsive throughout.

#include "edf_export.h"

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

class frmView;
class QAction;

class EdfExportMenu : public QObject {
    Q_OBJECT

public:
    // Adds the entry to the main window's File menu, above its closing separator.
    explicit EdfExportMenu(frmView* window);
    // Cancels a running export and waits for its worker.
    ~EdfExportMenu() override;
    EdfExportMenu(const EdfExportMenu&) = delete;
    EdfExportMenu& operator=(const EdfExportMenu&) = delete;

    QAction* action() const { return action_; }
    bool running() const { return worker_.joinable(); }
    // True once the worker has posted its end (it may not have been handled yet).
    bool workerEnded() const { return workerEnded_; }

    // Further annotations for every export from the menu (the reviewer's events).
    using Annotations = std::vector<viewer::edf::ExportRequest::Annotation>;
    void setAnnotations(std::function<Annotations()> source) { annotations_ = std::move(source); }

    // Converts `rec` as `request` says on the worker thread, with the progress dialog.
    void start(std::unique_ptr<viewer::Recording> rec, viewer::edf::ExportRequest request);

signals:
    // The export is over: written, cancelled or failed, and the text shown to the user.
    void finished(viewer::edf::ExportResult::Outcome outcome, const QString& message);

private:
    void exportTriggered();
    void showProgress(int percent);
    void done(const viewer::edf::ExportResult& result, uint16_t rate);
    // Joins the worker, removes the progress dialog and reports the result kept by done().
    void finish();
    // Shows `text` in a message box with `icon` (a QMessageBox::Icon) that blocks nothing.
    void report(int icon, const QString& text);

    frmView* window_;
    QAction* action_ = nullptr;
    QPointer<QProgressDialog> progress_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> workerEnded_{false};
    // A window-modal progress dialog lets events run inside setValue(): the end may arrive
    // there. It is then kept here and handled once setValue() has returned.
    int progressDepth_ = 0;
    std::optional<std::pair<viewer::edf::ExportResult, uint16_t>> ended_;
    std::function<Annotations()> annotations_;
};
