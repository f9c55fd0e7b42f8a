#include "MontageLinesView.h"

#include "FormulaEdit.h"
#include "derivation_text.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDropEvent>
#include <QHeaderView>
#include <QStyledItemDelegate>

#include <cmath>

using viewer::LineNotch;
using viewer::MontageLine;

namespace {

const QString kAsPage = QStringLiteral("page");
const QStringList kNotchTexts = {kAsPage, QStringLiteral("off"), QStringLiteral("50 Hz"),
                                 QStringLiteral("60 Hz")};
constexpr double kMostHertz = 100000.0;
constexpr int32_t kMostGain = 1000000;

bool isAsPage(const QString& text) {
    return text.trimmed().isEmpty() || text.trimmed().compare(kAsPage, Qt::CaseInsensitive) == 0;
}

QString colourText(std::optional<uint32_t> rgb) {
    return QStringLiteral("#%1").arg(rgb.value_or(0), 6, 16, QLatin1Char('0'));
}

// Typing in the derivation column offers electrode names; the notch column is a choice.
class LineDelegate : public QStyledItemDelegate {
public:
    LineDelegate(MontageLinesView& view) : QStyledItemDelegate(&view), view_(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        if (index.column() == MontageLinesView::Derivation) {
            return new FormulaEdit(view_.electrodes(), parent);
        }
        if (index.column() == MontageLinesView::Notch) {
            auto* box = new QComboBox(parent);
            box->addItems(kNotchTexts);
            return box;
        }
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            box->setCurrentIndex(std::max<int>(0, kNotchTexts.indexOf(index.data().toString())));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        if (auto* box = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, box->currentText());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    MontageLinesView& view_;
};

bool readNumber(const QString& text, double low, double high, bool lowIncluded,
                std::optional<double>& out) {
    if (isAsPage(text)) {
        out.reset();
        return true;
    }
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || v > high || v < low || (!lowIncluded && v == low)) {
        return false;
    }
    out = v;
    return true;
}

} // namespace

MontageLinesView::MontageLinesView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderLabels({"Label", "Derivation", "Colour", "Inverted", "Gain µV/cm", "High-pass Hz",
                     "Low-pass Hz", "Notch", "Hidden"});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new LineDelegate(*this));
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setSectionResizeMode(Derivation, QHeaderView::Stretch);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemChanged, this, &MontageLinesView::cellChanged);
}

void MontageLinesView::setElectrodes(const QStringList& names, std::vector<std::string> average) {
    electrodes_ = names;
    average_ = std::move(average);
}

void MontageLinesView::setLines(std::vector<MontageLine> lines) {
    lines_ = std::move(lines);
    refill(lines_.empty() ? -1 : 0);
}

QString MontageLinesView::cellText(const MontageLine& line, int column) const {
    const auto number = [](const auto& v) { return v ? QString::number(*v) : kAsPage; };
    switch (column) {
    case Label:
        return QString::fromStdString(line.label);
    case Derivation:
        return QString::fromStdString(viewer::derivationText(line.terms, average_));
    case Colour:
        return colourText(line.colour);
    case Gain:
        return number(line.gainUvPerCm);
    case HighPass:
        return number(line.highPassHz);
    case LowPass:
        return number(line.lowPassHz);
    case Notch:
        return line.notch ? kNotchTexts[static_cast<int>(*line.notch) + 1] : kAsPage;
    default:
        return {};
    }
}

bool MontageLinesView::readCell(MontageLine& line, int column, const QString& text,
                                QString& why) const {
    switch (column) {
    case Label:
        line.label = text.toStdString();
        return true;
    case Derivation: {
        const viewer::DerivationParse read = viewer::parseDerivation(text.toStdString(), average_);
        why = QString::fromStdString(read.error);
        if (read.ok()) {
            const bool labelFollows =
                line.label.empty() || line.label == viewer::derivationLabel(line.terms, average_);
            line.terms = read.terms;
            if (labelFollows) {
                line.label = viewer::derivationLabel(line.terms, average_);
            }
        }
        return read.ok();
    }
    case Colour: {
        const QColor c = QColor::fromString(text.trimmed());
        why = QStringLiteral("a colour such as #0000c0 or \"blue\" expected");
        if (c.isValid()) {
            line.colour = c.rgb() & 0xFFFFFFu;
        }
        return c.isValid();
    }
    case Gain: {
        std::optional<double> v;
        why = QStringLiteral("a gain from 1 to 1000000 µV/cm, or \"page\", expected");
        if (!readNumber(text, 1.0, kMostGain, true, v)) {
            return false;
        }
        line.gainUvPerCm =
            v ? std::optional<int32_t>(static_cast<int32_t>(std::lround(*v))) : std::nullopt;
        return true;
    }
    case HighPass:
        why = QStringLiteral("a high-pass from 0 (off) in Hz, or \"page\", expected");
        return readNumber(text, 0.0, kMostHertz, true, line.highPassHz);
    case LowPass:
        why = QStringLiteral("a low-pass above 0 Hz, or \"page\", expected");
        return readNumber(text, 0.0, kMostHertz, false, line.lowPassHz);
    case Notch: {
        const int i = kNotchTexts.indexOf(text.trimmed());
        why = QStringLiteral("\"page\", \"off\", \"50 Hz\" or \"60 Hz\" expected");
        if (i < 0) {
            return false;
        }
        line.notch =
            i == 0 ? std::nullopt : std::optional<LineNotch>(static_cast<LineNotch>(i - 1));
        return true;
    }
    default:
        return true;
    }
}

void MontageLinesView::fillRow(QTreeWidgetItem* item, int index) {
    const MontageLine& line = lines_[static_cast<size_t>(index)];
    item->setData(0, Qt::UserRole, index);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable |
                   Qt::ItemIsDragEnabled | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren);
    for (int c : {Label, Derivation, Colour, Gain, HighPass, LowPass, Notch}) {
        item->setText(c, cellText(line, c));
    }
    for (int c : {Gain, HighPass, LowPass, Notch}) {
        item->setForeground(c, item->text(c) == kAsPage ? palette().placeholderText()
                                                        : palette().text());
    }
    item->setData(Colour, Qt::DecorationRole, QColor::fromRgb(line.colour.value_or(0)));
    item->setCheckState(Inverted, line.inverted ? Qt::Checked : Qt::Unchecked);
    item->setCheckState(Hidden, line.hidden ? Qt::Checked : Qt::Unchecked);
}

void MontageLinesView::refill(int current) {
    filling_ = true;
    clear();
    for (size_t i = 0; i < lines_.size(); ++i) {
        auto* item = new QTreeWidgetItem(this);
        fillRow(item, static_cast<int>(i));
    }
    filling_ = false;
    if (current >= 0 && current < topLevelItemCount()) {
        setCurrentItem(topLevelItem(current), currentColumn() < 0 ? 0 : currentColumn());
    }
}

int MontageLinesView::currentLine() const {
    const QTreeWidgetItem* item = currentItem();
    return item == nullptr ? -1 : indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
}

void MontageLinesView::cellChanged(QTreeWidgetItem* item, int column) {
    if (filling_) {
        return;
    }
    const int index = item->data(0, Qt::UserRole).toInt();
    MontageLine line = lines_[static_cast<size_t>(index)];
    QString why;
    bool ok = true;
    if (column == Inverted || column == Hidden) {
        (column == Inverted ? line.inverted : line.hidden) =
            item->checkState(column) == Qt::Checked;
    } else {
        ok = readCell(line, column, item->text(column), why);
    }
    const bool changed = ok && line != lines_[static_cast<size_t>(index)];
    if (changed) {
        lines_[static_cast<size_t>(index)] = line;
    }
    filling_ = true;
    fillRow(item, index); // the entry as it reads, or as it was
    filling_ = false;
    if (!ok) {
        emit refused(QStringLiteral("%1: %2").arg(headerItem()->text(column), why));
    } else if (changed) {
        emit linesEdited();
    }
}

void MontageLinesView::dropEvent(QDropEvent* event) {
    QTreeWidget::dropEvent(event);
    std::vector<MontageLine> moved;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        moved.push_back(
            lines_[static_cast<size_t>(topLevelItem(i)->data(0, Qt::UserRole).toInt())]);
    }
    if (moved.size() == lines_.size()) {
        lines_ = std::move(moved);
        refill(currentLine());
        emit linesEdited();
    }
}

void MontageLinesView::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::AltModifier &&
        (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        moveLine(event->key() == Qt::Key_Up ? -1 : 1);
        return;
    }
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState) {
        removeLine();
        return;
    }
    if (event->key() == Qt::Key_Insert) {
        addLine();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void MontageLinesView::addLine() {
    const int at = currentLine() + 1;
    lines_.insert(lines_.begin() + at, MontageLine{});
    refill(at);
    setCurrentItem(topLevelItem(at), Derivation);
    editItem(topLevelItem(at), Derivation);
    emit linesEdited();
}

void MontageLinesView::removeLine() {
    const int at = currentLine();
    if (at < 0) {
        return;
    }
    lines_.erase(lines_.begin() + at);
    refill(std::min(at, static_cast<int>(lines_.size()) - 1));
    emit linesEdited();
}

void MontageLinesView::moveLine(int by) {
    const int at = currentLine();
    const int to = at + by;
    if (at < 0 || to < 0 || to >= static_cast<int>(lines_.size())) {
        return;
    }
    std::swap(lines_[static_cast<size_t>(at)], lines_[static_cast<size_t>(to)]);
    refill(to);
    emit linesEdited();
}

void MontageLinesView::chooseColour() {
    const int at = currentLine();
    if (at < 0) {
        return;
    }
    MontageLine& line = lines_[static_cast<size_t>(at)];
    const QColor c = QColorDialog::getColor(
        QColor::fromRgb(line.colour.value_or(0)), this,
        QStringLiteral("Colour of %1").arg(QString::fromStdString(line.label)));
    if (!c.isValid()) {
        return;
    }
    line.colour = c.rgb() & 0xFFFFFFu;
    refill(at);
    emit linesEdited();
}
