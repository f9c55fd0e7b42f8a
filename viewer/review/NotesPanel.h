#pragma once
// The notes panel: every note of the recording with its clock time, time from the start and
// text; the notes of the page shown highlighted; a filter box; Enter or a double click
// jumps to a note as "next note" does, Enter in the filter to the first note it lets through.

#include <QDockWidget>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class CViewerCtrl;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

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

    // Refills the list from the open recording.
    void reload();
    // Highlights the notes of the page starting at `posSec`.
    void follow(int32_t posSec);

    QTreeWidget* list() const { return list_; }
    QLineEdit* filter() const { return filter_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyFilter();
    void jumpTo(const QTreeWidgetItem* item);
    // Enter in the filter: the first note the filter lets through.
    void jumpToFirstShown();

    CViewerCtrl& trace_;
    std::function<void(float)> jump_;
    QLineEdit* filter_ = nullptr;
    QTreeWidget* list_ = nullptr;
};
