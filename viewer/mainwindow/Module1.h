#pragma once
// The program's shared procedures that belong to no window.

#include <QString>

namespace Module1 {

// Finds a top-level window on the X display whose title is exactly `title` and posts it a close
// request (WM_DELETE_WINDOW) without waiting. When there is none (or no display) and `silent`
// is false, throws ViewerError 1 "Can't find application to close".
void CloseWindowByTitle(const QString& title, bool silent);

} // namespace Module1
