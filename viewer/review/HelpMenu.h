#pragma once
// The "Help" menu: the table of every key, and what the program is and runs on.

#include <QString>

class QMenu;
class QWidget;

namespace HelpMenu {

// Fills `menu` with "Keyboard shortcuts" (F1) and "About"; dialogs open over `owner`.
void fill(QMenu& menu, QWidget& owner);

// The program, its version and the Qt and GStreamer versions it runs on.
QString aboutText();

// Shows the table of keys.
void showShortcuts(QWidget& owner);

} // namespace HelpMenu
