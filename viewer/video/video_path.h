#pragma once
// Where the video files of a recording are: next to the trace file, named after it.

#include <QString>

#include <cstdint>

namespace VideoPath {

// The file the video window loads for `videoFileNum`:
// - -1: the placeholder "noVideo.mpg" in `programFolder`;
// - -2 (one video of the older kind): the trace path with its extension replaced by the
//   first of "avi", "mpg", "wmv", "asf", "mts" that exists, else "mpe" unchecked;
// - n >= 0: "<stem>_n" with the first existing of ".avi", ".mpg", ".wmv", ".asf", ".mts",
//   ".mpe", then "<stem>" with ".avi" ... ".mts", else "<stem>.mpe" unchecked.
// The stem is the trace path without the extension of its file name (a dot in a folder name
// is no extension; a name without one is the stem as it stands). A candidate whose name
// differs from an existing file's only in case is that file. An empty trace path gives an
// empty path for every number but -1.
QString choose(const QString& traceFileName, int32_t videoFileNum, const QString& programFolder);

} // namespace VideoPath
