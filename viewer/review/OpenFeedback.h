#pragma once
// Plain words for the status bar when a recording is refused, or opened with something wrong.

#include <QString>

#include <cstdint>

namespace viewer {
struct Recording;
}

// Why the file at `path` could not be opened as a recording, in words a user understands:
// missing, unreadable, not a recording, an unknown header generation or a damaged header; for
// an EDF or BDF file, what in it cannot be shown.
QString refusalReason(const QString& path);

// The status message after `rec` was opened from `path`: a warning for a file that ends
// before the frames its notes, segments or montage history name, for a recording without
// data, and for electrode labels that hold bytes that are not text; empty otherwise.
QString openedMessage(const QString& path, const viewer::Recording& rec);

// "3 min 12 s", "20 min", "1 h 5 min", "45 s" for a length in whole seconds.
QString lengthText(int64_t seconds);
