#pragma once
// The face every text the program draws itself is set in (labels, value numbers, printed and
// exported pages, the time ruler, the video window's clock).

#include <QFont>
#include <QString>

// A font of the face `name` when the machine has that face and it draws Latin text; otherwise
// the desktop's general text font (or, should that fail too, the platform's sans-serif
// default). Never a symbol, dingbat or math font picked by the platform for an empty or
// unknown name. Size and weight are left to the caller.
QFont textFont(const QString& name);

// True when `font` resolves to a face that draws Latin text: it claims the Latin writing
// system, not the symbol one, and holds a glyph of its own for every character of `sample`.
bool drawsLatinText(const QFont& font, const QString& sample);
