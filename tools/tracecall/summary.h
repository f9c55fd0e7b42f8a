#pragma once
// The plain-text account of a recording that ./run prints on a machine without a display.

#include <QString>

class CViewerCtrl;

namespace tracecall {

// Opens `path` in `ctrl` and prints patient, date, length, channels, montages and notes.
// Returns 0, or 1 when the file cannot be opened.
int printSummary(CViewerCtrl& ctrl, const QString& path);

} // namespace tracecall
