#pragma once
// Choosing and loading the montage that turns recorded channels into displayed lines:
// the montage history ("As recorded"), the archived montages and all recorded electrodes.

#include "recording.h"

#include <cstdint>

namespace viewer {

// History montages used at most, however many change points the table holds.
constexpr int kHistoryMontagesUsed = 30;

// Display palette index (0..47) of a file colour code; codes above 15 take index 5 (black).
uint8_t paletteIndex(uint8_t colourCode);

// Bytes of one montage record in the MONTAGE and HISTORY areas of a header generation;
// 0 for generations that keep no montages.
int64_t montageRecordSize(uint8_t headerType);

// Archived montages that may be used: numMontages, but never more than the MONTAGE area's
// records. (The area-length test of GetNumArchivedMontage is applied by that query.)
int usableArchivedMontages(const Recording& rec);

// Readies a montage just read in the newest generation's form: numLines limited to 128;
// colours and page length computed when the record was never converted; palette indexes
// of 48 or more become 5; a negative page length becomes 10 s, one above maxPageMs (both
// taken as unsigned) becomes maxPageMs; samplesPerPage follows, within the page buffer.
void ConvertMontage(Recording& rec);

// Loads history montage `historyIndex` into currentMontage. False, with the montage left
// as it was, when the file is not open, its generation keeps no montage records of this
// form, or the record does not lie whole inside the HISTORY area and the file.
bool LoadHistoryMontage(Recording& rec);

// Loads archived montage `k` (0-based) into currentMontage; false, with the montage left
// as it was, for an index outside the usable archived montages or a record the file does
// not hold whole.
bool LoadArchivedMontage(Recording& rec, int k);

// Makes currentMontage the montage of all recorded electrodes: one line per channel (at
// most 128) showing that channel against no other input, a 10-second page.
void loadAllElectrodesMontage(Recording& rec);

// Index of the history montage in force for a page starting at frame `pageStart`: the
// last change point below pageStart (a page exactly on a change point keeps the montage
// before it). -1 when the table starts with its end mark, 30 when the search runs past
// the 30 montages used; callers switch only for other values.
int historyMontageFor(const Recording& rec, uint32_t pageStart);

} // namespace viewer
