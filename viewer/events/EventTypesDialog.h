#pragma once
// Events > Event types...: the list of types with their colours, to rename, recolour, add,
// remove and reorder (the first nine are Ctrl+1 .. Ctrl+9).

#include "EventTypes.h"

#include <QDialog>

class QTableWidget;

class EventTypesDialog : public QDialog {
public:
    EventTypesDialog(QWidget* parent, const EventTypes& types);

    // The list as edited: rows with an empty name left out.
    EventTypes result() const;
    QTableWidget* table() const { return table_; }

private:
    void addRow(const EventType& type);
    void moveRow(int by);

    QTableWidget* table_ = nullptr;
};
