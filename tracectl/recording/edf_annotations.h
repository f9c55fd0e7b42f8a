#pragma once
// The annotations of an EDF+ or BDF+ file: the time-stamped annotation lists (TALs) of each
// data record's annotation signals, read record by record so that a long file's notes can
// be read in parts, and what they give the recording: its notes, and for a discontinuous
// file the clock time of every record.

#include "edf_layout.h"
#include "trace_file.h"

#include <string_view>
#include <vector>

namespace viewer {

// Parses the TALs of one annotation signal's bytes in one record into `notes` (one note per
// text; empty texts are not notes). With `timekeeping` the first TAL is the record's own
// time, stored in `recordOnset`. Parsing stops at the first TAL that is not in the EDF+ form;
// the notes before it are kept. False when the first TAL was not read.
bool parseTals(std::string_view bytes, bool timekeeping, double& recordOnset,
               std::vector<EdfNote>& notes);

// What the annotations of records [from, to) hold.
struct EdfScan {
    int64_t from = 0;
    int64_t to = 0;
    std::vector<EdfNote> notes;
    std::vector<double> recordOnsets; // one per record from `from`, for EDF+D files
};

// Reads the annotation signals of records [from, to) of `file` (one read per annotation
// signal and record). A record whose time cannot be read takes the time after the one before.
EdfScan scanEdfRecords(const TraceFile& file, const EdfLayout& layout, int64_t from, int64_t to);

// Adds a scan that follows the records read so far to `source`: its notes, the record times
// and the stretches they make, then places every note on a frame (placeEdfNotes).
void mergeEdfScan(EdfSource& source, EdfScan&& scan);

// Places each note on the frame of the file its onset falls on: in a gap of an EDF+D file, the
// first frame after it; never before frame 1, as frame 0 ends the host's walk through the
// notes. Notes are then in order of frame, equal frames in the order read.
void placeEdfNotes(EdfSource& source);

// Frame of the uncut clock for frame `s` of the file (the gaps of an EDF+D file added).
int64_t edfUncutFrame(const EdfSource& source, int64_t s);

} // namespace viewer
