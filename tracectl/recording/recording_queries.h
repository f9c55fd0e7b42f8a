#pragma once
// What the host may ask about the open recording. Each query gives its neutral answer
// while no file is open; none reports an error.

#include "recording.h"

#include <cstdint>
#include <string>

namespace viewer::queries {

// Surname up to its first NUL, at most 21 characters, trailing white space dropped; UTF-8.
std::string GetSurName(const Recording& rec);
// First name up to its first NUL, at most 19 characters, trailing white space dropped; UTF-8.
std::string GetName(const Recording& rec);

// Frame number in the uncut recording for frame `s` of the file (cut-out stretches added).
uint32_t uncutFrame(const Recording& rec, uint32_t s);

// True when year, month and day form a real calendar date.
bool isValidDate(int year, int month, int day);
// Days since 30 December 1899 of a valid date.
int64_t daysSince1899(int year, int month, int day);

// Automation date (days since 30 December 1899) of recording second `seconds`;
// 0.0 with no file, NaN when the recording start is not a real date and time.
double GetDateTimeFromSeconds(const Recording& rec, int32_t seconds);
// Seconds since midnight of the recording day of recording second `secondo`; not wrapped.
int32_t GetMont(const Recording& rec, int32_t secondo);
// As GetMont, with the fraction of `secondo` dropped first.
int32_t GetTime(const Recording& rec, float secondo);
// Length of the recording in seconds, rounded up.
int32_t totalTrcSec(const Recording& rec);
// Position of note `numNota` in seconds; 0.0 out of range, at the end of the list or with no
// file. A negative stored position is repaired to frame 1 in the table. An EDF file's notes
// are its annotations, as many as it has.
float GetPosNote(Recording& rec, int32_t numNota);
// Pixel column of `milliSec` within a page of `pageMs` drawn from `labelWidth` to `right`;
// -1 outside the page or when the page has no length.
int32_t GetPixelPosition(int32_t pageMs, int32_t labelWidth, int32_t right, int32_t milliSec);
bool ThereIsVideo(const Recording& rec);
int16_t GetVideoOneSfasFrame(const Recording& rec);
// Trace position (ms) where the video covering `position` starts, and that video's number;
// -1 and -1 when no video covers it.
int32_t GetSfasVideo(const Recording& rec, int32_t position, int32_t& videoFileNum);
// Trace position (ms) where the video after `currentVideo` starts; -1.0 when there is none.
float GetNextFileVideoStart(const Recording& rec, int32_t currentVideo);

} // namespace viewer::queries

namespace viewer::queries {

// Number of archived montages usable: numMontages, at most the records the MONTAGE area
// holds. An area of the wrong length makes it 0, and the 0 is stored in the header so that
// later montage choices see it too.
int16_t GetNumArchivedMontage(Recording& rec);
// Description of archived montage `k` up to its first NUL, at most 64 characters, as
// stored (blanks kept); empty with no file, for generations without archived montages and
// for an index outside the usable archived montages.
std::string GetArchivedMontName(const Recording& rec, int16_t k);

} // namespace viewer::queries
