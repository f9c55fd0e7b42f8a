#include "EventTypesDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kColourRole = Qt::UserRole;

void showColour(QTableWidgetItem* item, const QColor& colour) {
    item->setData(kColourRole, colour);
    item->setBackground(colour);
    item->setText(colour.name());
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
}

} // namespace

EventTypesDialog::EventTypesDialog(QWidget* parent, const EventTypes& types) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Event types"));
    setObjectName(QStringLiteral("eventTypesDialog"));
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(0, 2, this);
    table_->setHorizontalHeaderLabels({QStringLiteral("Type"), QStringLiteral("Colour")});
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    for (const EventType& t : types.all()) {
        addRow(t);
    }
    layout->addWidget(table_);
    auto* row = new QHBoxLayout;
    const auto button = [&](const char* text, auto action) {
        auto* b = new QPushButton(QLatin1String(text), this);
        connect(b, &QPushButton::clicked, this, action);
        row->addWidget(b);
    };
    button("Add", [this] { addRow({QStringLiteral("New type"), QColor(Qt::darkCyan)}); });
    button("Remove", [this] { table_->removeRow(table_->currentRow()); });
    button("Up", [this] { moveRow(-1); });
    button("Down", [this] { moveRow(1); });
    layout->addLayout(row);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int r, int c) {
        if (c != 1) {
            return;
        }
        const QColor chosen =
            QColorDialog::getColor(table_->item(r, 1)->data(kColourRole).value<QColor>(), this);
        if (chosen.isValid()) {
            showColour(table_->item(r, 1), chosen);
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(360, 380);
}

void EventTypesDialog::addRow(const EventType& type) {
    const int r = table_->rowCount();
    table_->insertRow(r);
    table_->setItem(r, 0, new QTableWidgetItem(type.name));
    auto* colour = new QTableWidgetItem;
    showColour(colour, type.colour);
    table_->setItem(r, 1, colour);
}

void EventTypesDialog::moveRow(int by) {
    const int from = table_->currentRow();
    const int to = from + by;
    if (from < 0 || to < 0 || to >= table_->rowCount()) {
        return;
    }
    for (int c = 0; c < 2; ++c) {
        QTableWidgetItem* a = table_->takeItem(from, c);
        QTableWidgetItem* b = table_->takeItem(to, c);
        table_->setItem(from, c, b);
        table_->setItem(to, c, a);
    }
    table_->setCurrentCell(to, 0);
}

EventTypes EventTypesDialog::result() const {
    std::vector<EventType> types;
    for (int r = 0; r < table_->rowCount(); ++r) {
        const QString name = table_->item(r, 0)->text().trimmed();
        if (!name.isEmpty()) {
            types.push_back({name, table_->item(r, 1)->data(kColourRole).value<QColor>()});
        }
    }
    return EventTypes(std::move(types));
}
