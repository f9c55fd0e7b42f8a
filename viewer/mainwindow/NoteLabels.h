#pragma once
// The ten note labels over the traces: the trace control reports the notes of each page it draws
// and every note among the first ten gets a label at its pixel, in the top row unless it would
// touch the label before it, which sends it to a second row.

#include <QString>

#include <array>
#include <cstdint>

class QLabel;
class QWidget;

class NoteLabels {
public:
    static constexpr int kCount = 10;

    // Makes the labels as hidden children of `area`, positioned in its coordinates.
    explicit NoteLabels(QWidget* area);

    QLabel* label(int i) const { return labels_.at(static_cast<size_t>(i)); }

    // DeleteNote: hides all ten.
    void hideAll();
    // NoteNotification: shows note `numNota` of the page at pixel `posPix`; notes from the tenth
    // on get no label.
    void show(int16_t numNota, int32_t posPix, const QString& noteText);

private:
    std::array<QLabel*, kCount> labels_{};
};
