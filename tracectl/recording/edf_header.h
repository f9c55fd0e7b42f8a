#pragma once
// Reading the header of an EDF, EDF+, BDF or BDF+ file through edflib, with the layout of
// its data records (edflib hides the annotation signals, whose places the page reader
// needs). Nothing past the header and the first data record is read.

#include "edf_layout.h"
#include "trace_file.h"

#include <string>

namespace viewer {

// What the header says about the patient and the start, as edflib reads it.
struct EdfHeader {
    EdfLayout layout;
    std::string
        patient;      // EDF+: the patient's name field, underscores as blanks; EDF: the whole field
    int birthDay = 0; // 0 when the file gives no birth date
    int birthMonth = 0;
    int birthYear = 0;
    int startDay = 0;
    int startMonth = 0;
    int startYear = 0;
    int startHour = 0;
    int startMinute = 0;
    int startSecond = 0;
};

// True when the open file starts as an EDF ("0" and seven blanks) or BDF (0xFF "BIOSEMI")
// file does.
bool hasEdfSignature(const TraceFile& file);

// Reads the header of the EDF or BDF file open in `file` (at `path`) into `out`. Returns
// an empty string when the file can be shown, else the reason it cannot, in plain words
// ("its header does not follow the EDF rules", "it holds only annotations, no signal").
std::string readEdfHeader(const std::string& path, const TraceFile& file, EdfHeader& out);

} // namespace viewer
