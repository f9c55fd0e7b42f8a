#pragma once
// A line edit for a derivation ("F3 - 0.5 C3 - 0.5 C4") that offers the recording's electrode
// names for the word being typed.

#include <QLineEdit>
#include <QStringList>

class QCompleter;

class FormulaEdit : public QLineEdit {
public:
    // Offers `electrodes` (and "avg") as completions of the word under the cursor.
    FormulaEdit(const QStringList& electrodes, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The word before the cursor and where it starts.
    QString currentWord(int* start) const;
    void insertCompletion(const QString& name);

    QCompleter* completer_ = nullptr;
};
