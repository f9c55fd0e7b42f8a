#pragma once
// Where a top-level window stands between sessions: its left, top, width and height in twips
// and its state (0 normal, 1 minimised, 2 maximised), kept in the settings under one prefix
// ("View" for the main window, "Video" for the video window).

#include <QString>
#include <QWidget>

#include <cstdint>

namespace WindowPlacement {

// Twips per pixel of the window's screen, horizontally and vertically (15 at 96 dpi).
double twipsPerPixelX(const QWidget& window);
double twipsPerPixelY(const QWidget& window);

struct Defaults {
    int32_t left = 1000;
    int32_t top = 1000;
    int32_t width = 10000;
    int32_t height = 7000;
};

// Moves and sizes the window as stored (missing or unreadable values take `defaults`), then
// applies the stored state.
void restore(QWidget& window, const QString& prefix, const Defaults& defaults);

// Stores the state unless the window is minimised; the normal placement only when the window
// is in the normal state (a maximised window keeps its last normal placement).
void save(const QWidget& window, const QString& prefix);

} // namespace WindowPlacement
