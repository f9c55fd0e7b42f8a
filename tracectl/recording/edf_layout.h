#pragma once
// The shape of an EDF, EDF+, BDF or BDF+ file as the page reader walks it: where each drawn
// signal lies in a data record, the annotation signals beside them, the frame rate the
// signals are drawn at, and the notes and continuous stretches read from the annotations.

#include <cstdint>
#include <string>
#include <vector>

namespace viewer {

// One signal of the file that is drawn (annotation signals are not).
struct EdfSignal {
    std::string label;     // as in the header, trailing blanks dropped
    std::string dimension; // physical dimension as in the header ("uV", "mV", "%", ...)
    double physicalMin = 0;
    double physicalMax = 0;
    int32_t digitalMin = 0;
    int32_t digitalMax = 0;
    int32_t samplesPerRecord = 0;
    int64_t offsetInRecord = 0; // bytes from the start of a data record
};

// An annotation signal's bytes within each data record.
struct EdfAnnotationBlock {
    int64_t offsetInRecord = 0;
    int32_t bytes = 0;
};

// One annotation of the file: onset in seconds from the file's start time (the clock of an
// EDF+D file runs on across its gaps), duration in seconds (negative when it has none) and
// its whole UTF-8 text.
struct EdfNote {
    double onset = 0;
    double duration = -1;
    std::string text;
    int64_t frame = 1; // the frame of the file it is shown at (placeEdfNotes), at least 1
};

// Where the file frames of a continuous stretch begin on the uncut clock (in frames).
struct EdfStretch {
    int64_t fileFrame = 0;
    int64_t uncutFrame = 0;
};

struct EdfLayout {
    bool bdf = false;           // 24-bit samples, else 16-bit
    bool plus = false;          // EDF+ or BDF+: annotations and a patient field in parts
    bool discontinuous = false; // EDF+D or BDF+D
    int bytesPerSample = 2;
    int64_t headerBytes = 0;
    int64_t recordBytes = 0;
    int64_t records = 0;
    double recordSeconds = 0;    // duration of one data record
    int32_t framesPerRecord = 0; // frames drawn per record: samples of the fastest EEG signal
    std::vector<EdfSignal> drawnSignals;
    std::vector<EdfAnnotationBlock> annotations;

    // Frames of the drawn rate per second (framesPerRecord / recordSeconds, not rounded).
    double framesPerSecond() const { return framesPerRecord / recordSeconds; }
};

// What was read of an EDF recording beyond its layout: the notes and stretches found in the
// annotation signals of the records read so far.
struct EdfSource {
    std::string path; // as opened
    EdfLayout layout;
    std::vector<EdfNote> notes;        // in order of frame
    std::vector<double> recordOnsets;  // of the records read so far (EDF+D only)
    std::vector<EdfStretch> stretches; // EDF+D only; empty = one stretch from frame 0
    int64_t recordsScanned = 0;        // records whose annotations have been read
    std::vector<uint8_t> scratch;      // bytes of the records a page spans

    bool notesComplete() const {
        return layout.annotations.empty() || recordsScanned >= layout.records;
    }
};

} // namespace viewer
