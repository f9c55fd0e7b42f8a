#pragma once
// The reader of EDF, EDF+, BDF and BDF+ files beside the trace-file readers: it fills the
// same recording model, so that every page, query and montage works on them unchanged.

#include "recording.h"

#include <string>

namespace viewer {

// Reads the header of the EDF/BDF file open in `rec.file` (at `path`) into `rec`: the header
// fields the queries answer from, one electrode per drawn signal, the channel order and the
// layout of the data records; then the annotations as `notes` asks. Returns an empty string
// on success, else why the file cannot be shown, in plain words.
std::string readEdf(Recording& rec, const std::string& path, NotesReading notes);

// Why the file at `path`, which starts as an EDF or BDF file, cannot be shown; empty when it
// can.
std::string edfRefusalReason(const std::string& path);

// Reads the annotations of the records not read yet, at most `records` of them (all when
// negative), into the open EDF recording. True when every record's annotations are read.
bool readMoreEdfNotes(Recording& rec, int64_t records);

} // namespace viewer
