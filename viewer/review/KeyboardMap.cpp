#include "KeyboardMap.h"

#include "MyScrollBar.h"
#include "frmView.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr int kNotch = 120;

struct KeyEntry {
    int key;
    Qt::KeyboardModifiers modifiers;
    ReviewCommand command;
};

const KeyEntry kKeys[] = {
    {Qt::Key_PageDown, Qt::NoModifier, ReviewCommand::PageForward},
    {Qt::Key_Space, Qt::NoModifier, ReviewCommand::PageForward},
    {Qt::Key_PageUp, Qt::NoModifier, ReviewCommand::PageBack},
    {Qt::Key_Space, Qt::ShiftModifier, ReviewCommand::PageBack},
    {Qt::Key_Right, Qt::NoModifier, ReviewCommand::SecondForward},
    {Qt::Key_Left, Qt::NoModifier, ReviewCommand::SecondBack},
    {Qt::Key_Right, Qt::ControlModifier, ReviewCommand::NextNote},
    {Qt::Key_Left, Qt::ControlModifier, ReviewCommand::PreviousNote},
    {Qt::Key_Home, Qt::NoModifier, ReviewCommand::FirstPage},
    {Qt::Key_End, Qt::NoModifier, ReviewCommand::LastPage},
};

// Widgets whose own keys win over the window's.
bool keepsItsKeys(const QWidget* w) {
    for (; w != nullptr; w = w->parentWidget()) {
        if (qobject_cast<const QComboBox*>(w) || qobject_cast<const QLineEdit*>(w) ||
            qobject_cast<const QAbstractItemView*>(w)) {
            return true;
        }
    }
    return false;
}

void trigger(frmView& window, const char* key) {
    if (QAction* action = window.button(QLatin1String(key))) {
        action->trigger();
    }
}

} // namespace

ReviewCommand commandForKey(int key, int modifiers) {
    // The keypad flag says nothing about the command.
    const auto wanted = Qt::KeyboardModifiers::fromInt(modifiers) & ~Qt::KeypadModifier;
    for (const KeyEntry& entry : kKeys) {
        if (entry.key == key && entry.modifiers == wanted) {
            return entry.command;
        }
    }
    return ReviewCommand::None;
}

void runCommand(frmView& window, ReviewCommand command) {
    MyScrollBar& bar = *window.hscroll1();
    switch (command) {
    case ReviewCommand::PageForward:
        return trigger(window, "avanti");
    case ReviewCommand::PageBack:
        return trigger(window, "indietro");
    case ReviewCommand::SecondForward:
        return bar.setValue(bar.Value() + bar.smallChange());
    case ReviewCommand::SecondBack:
        return bar.setValue(bar.Value() - bar.smallChange());
    case ReviewCommand::NextNote:
        return trigger(window, "notaSuc");
    case ReviewCommand::PreviousNote:
        return trigger(window, "notaPrec");
    case ReviewCommand::FirstPage:
        return trigger(window, "inizio");
    case ReviewCommand::LastPage:
        return trigger(window, "fine");
    case ReviewCommand::None:
        return;
    }
}

std::vector<KeyHelp> keyHelp() {
    return {
        {QStringLiteral("PgDn, Space"), QStringLiteral("Next page")},
        {QStringLiteral("PgUp, Shift+Space"), QStringLiteral("Previous page")},
        {QStringLiteral("Right / Left"), QStringLiteral("One second forward / back")},
        {QStringLiteral("Ctrl+Right / Ctrl+Left"), QStringLiteral("Next / previous note or event")},
        {QStringLiteral("Home / End"), QStringLiteral("First / last page")},
        {QStringLiteral("Mouse wheel"), QStringLiteral("One page back / forward per notch")},
        {QStringLiteral("+ / -"), QStringLiteral("Gain one step up / down")},
        {QStringLiteral("Alt+1 … Alt+9"), QStringLiteral("The first nine montages of the list")},
        {QStringLiteral("Right drag, Shift+drag"), QStringLiteral("Measure time and amplitude")},
        {QStringLiteral("Ctrl+click, Ctrl+drag"), QStringLiteral("Mark an event (instant, span)")},
        {QStringLiteral("Ctrl+Alt+click, Ctrl+Alt+drag"),
         QStringLiteral("Mark an event on one line")},
        {QStringLiteral("Ctrl+1 … Ctrl+9"), QStringLiteral("Mark an event of type 1 … 9")},
        {QStringLiteral("Double-click, drag an edge"),
         QStringLiteral("Edit an event, move its edge")},
        {QStringLiteral("Delete"), QStringLiteral("Remove the selected event")},
        {QStringLiteral("Ctrl+Z / Ctrl+Shift+Z"), QStringLiteral("Undo / redo a change of events")},
        {QStringLiteral("Tab"), QStringLiteral("Into the tool bar's lists (their keys then "
                                               "change them)")},
        {QStringLiteral("Ctrl+O"), QStringLiteral("Open a recording")},
        {QStringLiteral("Ctrl+P"), QStringLiteral("Print pages")},
        {QStringLiteral("Ctrl+G"), QStringLiteral("Go to a time")},
        {QStringLiteral("F1"), QStringLiteral("This list")},
    };
}

int WheelNotches::add(int delta) {
    rest_ += delta;
    const int notches = rest_ / kNotch;
    rest_ -= notches * kNotch;
    return notches;
}

KeyboardMap::KeyboardMap(frmView& window) : window_(window) { qApp->installEventFilter(this); }

bool isWindowKey(const QWidget& window, const QObject* watched) {
    if (!watched->isWidgetType()) {
        return false;
    }
    // A key travels from the focus widget up its parents: it is taken at the first of them.
    const auto* widget = static_cast<const QWidget*>(watched);
    const QWidget* focus = QApplication::focusWidget();
    const bool first =
        focus != nullptr && focus->window() == &window ? widget == focus : widget == &window;
    return first && !keepsItsKeys(widget);
}

bool KeyboardMap::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !isWindowKey(window_, watched)) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    const ReviewCommand command = commandForKey(key->key(), key->modifiers().toInt());
    if (command == ReviewCommand::None) {
        return false;
    }
    runCommand(window_, command);
    return true;
}
