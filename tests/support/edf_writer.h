#pragma once
// Writes EDF, EDF+ and BDF(+) files of any shape from a description in code, including the
// kinds edflib does not write (discontinuous files, long annotation texts, odd headers).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace viewer {
struct Recording;
}

namespace viewer::testing {

struct EdfSignalDescription {
    std::string label, dimension = "uV";
    std::string physicalMin = "-3276.8", physicalMax = "3276.7";
    int32_t digitalMin = -32768, digitalMax = 32767;
    int samplesPerRecord = 256;
};

struct EdfDescription {
    bool bdf = false;
    std::string reserved = "EDF+C"; // "", "EDF+C", "EDF+D", "BDF+C", ...
    std::string patient = "X M 02-MAR-1951 Bianchi,_Anna";
    std::string recording = "Startdate 03-NOV-2026 X X X";
    std::string startDate = "03.11.26", startTime = "09.30.00";
    std::string recordSeconds = "1";
    std::vector<EdfSignalDescription> channels;
    int64_t records = 10;
    // Sample k of signal s in record r (digital); 0 when not given.
    std::function<int32_t(int64_t r, int s, int k)> sample;
    // EDF+/BDF+: the annotation signal's bytes per record (0: none), each record's onset
    // (default r x duration) and the TALs it holds after its time-keeping one.
    int annotationBytes = 0;
    std::function<double(int64_t r)> onset;
    std::function<std::string(int64_t r)> tals;
    std::string headerBytesField; // overrides the header-size field when not empty
};

// Writes the file; the annotation signal, when there is one, goes last in each record.
void writeEdf(const std::string& path, const EdfDescription& d);

// A TAL: "+onset[\x15duration]\x14text\x14\0" (no duration when `duration` < 0).
std::string tal(double onset, double duration, const std::string& text);

// Microvolts of channel `c` at frame `f` of the page buffer, as a line of that electrode alone
// draws it (its zero level and fraction taken off, times its step).
double channelMicrovolts(const Recording& rec, int c, int64_t f);

} // namespace viewer::testing
