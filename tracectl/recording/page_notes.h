#pragma once
// The notes that fall inside the page shown, as the host is told of them.

#include "recording.h"

#include <cstdint>
#include <string>
#include <vector>

namespace viewer {

struct PageNote {
    int16_t numNota = 0; // counts the notes of this page from 0
    int32_t posPix = 0;  // horizontal pixel in the control
    std::string text;    // at most 39 characters, 8-bit as stored; an EDF note's whole UTF-8 text
    bool utf8 = false;   // the text is UTF-8 already (EDF notes)
};

// Walks the note table for the page [pageStart, pageStart + samplesPerPage): repairs a
// negative position to 1 and cuts each reported note's text to 39 characters in the table,
// as the display always has. Traces run from `labelWidth` over `traceWidth` pixels. An EDF
// file's notes on the page are found in its own list, their texts whole.
std::vector<PageNote> notesOnPage(Recording& rec, int32_t labelWidth, int32_t traceWidth);

} // namespace viewer
