#pragma once
// The review keys of the main window: paging, seconds, notes, first and last page, and the
// mouse wheel. Every command ends where the tool bar's own commands end: a start second
// written to the scroll bar's Value.

#include <QObject>
#include <QString>
#include <QWidget>

#include <vector>

class frmView;

enum class ReviewCommand {
    None,
    PageForward,
    PageBack,
    SecondForward,
    SecondBack,
    NextNote,
    PreviousNote,
    FirstPage,
    LastPage,
};

// The command of a key with its modifiers (Qt::Key and Qt::KeyboardModifiers values).
ReviewCommand commandForKey(int key, int modifiers);

// Runs `command` on the main window, as its tool bar button or scroll bar button would.
void runCommand(frmView& window, ReviewCommand command);

// True when a key press at `watched` is the window's to take: the first widget of `window`
// the key reaches, and not one that takes keys of its own (a list, a text box, a list view).
bool isWindowKey(const QWidget& window, const QObject* watched);

struct KeyHelp {
    QString keys;
    QString action;
};
// Every key of the main window and what it does, for the help table.
std::vector<KeyHelp> keyHelp();

// Turns wheel deltas into whole notches (120 eighths of a degree each); high-resolution wheels
// send smaller deltas that add up to one.
class WheelNotches {
public:
    // The notches completed by `delta`, away from the user positive.
    int add(int delta);

private:
    int rest_ = 0;
};

// Watches the key presses of the main window (at the first widget they reach) and runs the
// review commands. A widget that takes keys of its own (a drop-down list, a text box, a list)
// keeps them.
class KeyboardMap : public QObject {
public:
    explicit KeyboardMap(frmView& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmView& window_;
};
