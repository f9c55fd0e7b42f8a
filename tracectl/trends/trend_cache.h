#pragma once
// The trends of a recording kept in a cache folder, one file per recording and settings,
// so that reopening shows them at once. A file is used only when it parses whole, its
// checksum holds and its key (the recording's path, size, modification time and a hash of
// its first bytes, the montage's lines, the segment length, the format's version) is the
// key of the recording as it is now; anything else is computed again and written over.

#include "trend_data.h"

#include <optional>
#include <string>

namespace viewer::trends {

// The key of the trends of the recording at `path` for `montage` and `segmentSeconds`;
// empty when the file cannot be examined.
std::string cacheKey(const std::string& path, const TrendMontage& montage, double segmentSeconds);

// The cache file for `key` inside `folder`.
std::string cachePath(const std::string& folder, const std::string& key);

// Writes complete `data` under `key` into `folder` (created when missing), atomically: a new
// file renamed over the old. Returns an empty text, or why it failed.
std::string writeCache(const std::string& folder, const std::string& key, const TrendData& data);

// The trends kept for `key` in `folder`; none when there is no such file or it does not
// parse, fails its checksum, was written by another version or for another key.
std::optional<TrendData> readCache(const std::string& folder, const std::string& key);

} // namespace viewer::trends
