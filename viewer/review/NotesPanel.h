#pragma once
// The notes panel: every note of the recording and every reviewer event, with clock time,
// time from the start, where it comes from, type and text; the rows of the page shown
// highlighted; a filter by type and text; Enter or a double click jumps to a row as "next
// note" does, Enter in the filter to the first row it lets through.

#include "NotesModel.h"

#include <QDockWidget>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class CViewerCtrl;
class QComboBox;
class QLineEdit;
class QTreeView;

struct NoteRow {
    float seconds = 0; // from the start of the file
    QString clock;     // time of day
    QString elapsed;   // h:mm:ss from the start
    QString text;
};

// The notes of the open recording in table order, as the note search walks them: positions
// from GetPosNote up to the first 0, clock times from GetTime.
std::vector<NoteRow> noteRows(CViewerCtrl& trace);

// The page start a jump to a note at `seconds` writes, as the next-note search does: its
// whole second, no later than the scroll bar's `scrollMax`.
int32_t noteJumpTarget(float seconds, int32_t scrollMax);

// True when a note at `seconds` lies on the page [posSec, posSec + pageSeconds).
bool noteOnPage(float seconds, int32_t posSec, double pageSeconds);

class NotesPanel : public QDockWidget {
public:
    // `jump(seconds)` moves the page to a note at `seconds`; the panel does not know the
    // window.
    NotesPanel(CViewerCtrl& trace, std::function<void(float)> jump, QWidget* parent);

    // Refills the notes from the open recording.
    void reload();
    // Replaces the reviewer events listed beside the notes.
    void setEvents(std::vector<ListedRow> events);
    // Highlights the rows of the page starting at `posSec`.
    void follow(int32_t posSec);

    QTreeView* list() const { return list_; }
    NotesModel& model() const { return *model_; }
    QLineEdit* filter() const { return filter_; }
    QComboBox* typeFilter() const { return typeFilter_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilter();
    // After the rows changed: the type list follows them and the filter applies.
    void refill();
    void jumpTo(const QModelIndex& index);
    // Enter in the filter: the first row the filter lets through.
    void jumpToFirstShown();

    CViewerCtrl& trace_;
    std::function<void(float)> jump_;
    NotesModel* model_ = nullptr;
    QComboBox* typeFilter_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QTreeView* list_ = nullptr;
};
