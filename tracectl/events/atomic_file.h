#pragma once
// Whole-file reading and writing that never leaves half a file: a new file is written
// beside the old one, flushed to the disk and renamed over it.

#include <string>
#include <string_view>

namespace viewer::events {

struct FileText {
    bool read = false;    // the whole file was read
    bool missing = false; // there is no such file
    std::string text;
    std::string error; // why it could not be read
};

// Reads the whole file at `path`.
FileText readWholeFile(const std::string& path);

// Writes `contents` to `path` so that a crash or a kill at any moment leaves the old file or
// the new one, whole: a temporary file in the same folder, flushed, renamed over `path`, the
// folder flushed. With `backupPath` given, the file being replaced is kept there first (also
// replaced whole). Returns an empty text, or why it failed (`path` is then unchanged).
std::string writeFileAtomically(const std::string& path, std::string_view contents,
                                const std::string& backupPath = {});

// The folder part of `path` ("." for a bare name).
std::string folderOf(const std::string& path);

} // namespace viewer::events
