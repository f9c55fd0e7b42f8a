#pragma once
// The program's helpers for the video window: file checks, the time mapping of a video file
// and the clock text of the time panel.

#include <QString>

#include <cstdint>

namespace Module1 {

// True when the file at `path` can be opened for reading (it is closed again at once).
bool FileExists(const QString& path);

// The rate pair that maps the video file at `path` to trace time: trace seconds = video
// seconds x realRate / fileRate. Both start at 1.
// - A path ending in "MPG" (any case) is an MPEG program stream: realRate 90000, fileRate
//   90000 + `delay` (the recording's video delay); true.
// - Otherwise a RIFF AVI file of at least 50 bytes: fileRate = the microseconds per frame it
//   declares, realRate = the nominal frame duration that value is snapped to (itself when
//   none is near); true. A declared duration of 0 or less is no rate: false, 1 and 1.
// - Anything else (missing, short, unreadable, another kind): false.
bool DetectVideoRates(const QString& path, int32_t& fileRate, int32_t& realRate, int16_t delay);

// `seconds` as the time of day "hh:mm:ss"; hours wrap at 24 and negative values count back
// from midnight.
QString FormatHhMmSs(int32_t seconds);

} // namespace Module1

namespace videotime {

// The nearest whole number, halves to even, kept within the 32-bit range; not-a-number is 0.
int32_t wholeNumber(double v);

} // namespace videotime
