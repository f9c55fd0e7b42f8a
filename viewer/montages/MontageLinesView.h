#pragma once
// The lines of the montage being edited, one row each: label, derivation, colour, inverted,
// gain, high-pass, low-pass, notch, hidden. Cells are edited by typing (the derivation with
// the recording's electrode names offered), rows reordered by dragging or Alt+Up/Alt+Down.
// Every accepted change is announced at once; an entry that does not read is refused and
// said why.

#include "montage_definition.h"

#include <QStringList>
#include <QTreeWidget>

#include <string>
#include <vector>

class MontageLinesView : public QTreeWidget {
    Q_OBJECT

public:
    enum Column { Label, Derivation, Colour, Inverted, Gain, HighPass, LowPass, Notch, Hidden };

    explicit MontageLinesView(QWidget* parent = nullptr);

    // The electrode names offered, and those "avg" stands for.
    void setElectrodes(const QStringList& names, std::vector<std::string> average);
    const QStringList& electrodes() const { return electrodes_; }
    // Shows `lines` (no announcement).
    void setLines(std::vector<viewer::MontageLine> lines);
    const std::vector<viewer::MontageLine>& lines() const { return lines_; }

    // A new line after the current one (its derivation being typed), the current line removed,
    // moved `by` rows, its colour chosen in a colour dialog.
    void addLine();
    void removeLine();
    void moveLine(int by);
    void chooseColour();

    // The text a cell shows for a line (the cell's editor starts from it).
    QString cellText(const viewer::MontageLine& line, int column) const;
    // Reads `text` into `line`'s field of `column`; false, with `why`, when it does not read.
    bool readCell(viewer::MontageLine& line, int column, const QString& text, QString& why) const;

signals:
    // The lines changed (an edit, a move, a line added or removed).
    void linesEdited();
    // An entry was refused: what was wrong.
    void refused(const QString& why);

protected:
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillRow(QTreeWidgetItem* item, int index);
    void refill(int current);
    void cellChanged(QTreeWidgetItem* item, int column);
    int currentLine() const;

    std::vector<viewer::MontageLine> lines_;
    QStringList electrodes_;
    std::vector<std::string> average_;
    bool filling_ = false;
};
