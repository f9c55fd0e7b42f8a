#pragma once
// The rows of the notes panel: the recording's notes and the reviewer's events together in
// time order, with a filter by type and text. A table model, so that 100,000 rows cost only
// the rows on screen to draw.

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

// "1:02:03" for 3723.9 seconds from the start.
QString elapsedText(double seconds);

struct ListedRow {
    double seconds = 0; // from the start of the file
    bool fromRecording = true;
    QString type; // "Note" for a recording note
    QString text; // the note, or the event's comment and lines
    QString who;  // the annotator of an event
};

class NotesModel : public QAbstractTableModel {
public:
    enum Column { Clock, FromStart, Text, Source, ColumnCount };

    // `clockOf(second)` gives the clock time (seconds of the day) of a whole second.
    explicit NotesModel(std::function<int64_t(int32_t)> clockOf, QObject* parent = nullptr);

    // Replaces the rows from the recording (`fromRecording` true), or the others, by `rows`
    // (all of that kind, in time order); the rows of the other kind stay.
    void replaceRows(bool fromRecording, std::vector<ListedRow> rows);
    // Shows only rows of `type` (empty: all) whose type or text holds `text` (any case).
    void setFilter(const QString& type, const QString& text);
    // Rows on the page [posSec, posSec + pageSeconds) are highlighted.
    void setPage(int32_t posSec, double pageSeconds);

    // The row shown at `row`.
    const ListedRow& listed(int row) const;
    // The types of all rows, in order of first appearance.
    QStringList types() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void refilter();
    // The shown rows [first, end) on the page.
    std::pair<int, int> pageRows() const;

    std::function<int64_t(int32_t)> clockOf_;
    std::vector<ListedRow> rows_;
    std::vector<int> shown_;      // indices into rows_
    QString type_;
    QString text_;
    int32_t posSec_ = 0;
    double pageSeconds_ = 0;
};
