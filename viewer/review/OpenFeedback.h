#pragma once
// Plain words for the status bar when a recording is refused or holds no data.

#include <QString>

#include <cstdint>

// Why the file at `path` could not be opened as a recording, in words a user understands:
// missing, unreadable, not a recording, an unknown header generation or a damaged header.
QString refusalReason(const QString& path);

// The status message after `path` was opened with `totalSeconds` of data: a warning for a
// recording without data, nothing otherwise.
QString openedMessage(const QString& path, int32_t totalSeconds);
