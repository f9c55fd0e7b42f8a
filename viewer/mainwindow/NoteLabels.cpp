#include "NoteLabels.h"

#include <QEvent>
#include <QLabel>
#include <QWidget>

namespace {

// A label shown or moved asks to be painted later, on its own; on a page being drawn that
// paints the traces twice (whole, then under the label). The label lies inside the traces,
// which paint their children with them: the traces are marked for painting instead.
class NoteLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::UpdateLater && parentWidget() != nullptr) {
            parentWidget()->update();
            return true;
        }
        return QLabel::event(e);
    }
};

} // namespace

NoteLabels::NoteLabels(QWidget* area) {
    for (QLabel*& label : labels_) {
        label = new NoteLabel(area);
        label->setObjectName(QStringLiteral("lblNota"));
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::red);
        label->setPalette(palette);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        label->hide();
    }
}

void NoteLabels::hideAll() {
    for (QLabel* label : labels_) {
        label->hide();
    }
}

void NoteLabels::show(int16_t numNota, int32_t posPix, const QString& noteText) {
    if (numNota < 0 || numNota >= kCount) {
        return;
    }
    QLabel* label = labels_[static_cast<size_t>(numNota)];
    label->setText(noteText.trimmed());
    label->adjustSize();
    label->move(posPix, 0);
    label->show();
    if (numNota == 0) {
        return;
    }
    const QLabel* previous = labels_[static_cast<size_t>(numNota - 1)];
    const bool previousInTopRow = previous->y() == 0;
    const bool touches = previous->x() + previous->width() >= label->x();
    if (!previous->isHidden() && previousInTopRow && touches) {
        label->move(posPix, previous->height());
    }
}
