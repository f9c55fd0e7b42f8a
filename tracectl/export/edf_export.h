#pragma once
// Writes an open recording, or a stretch of it, as EDF+ (16-bit samples) or BDF+ (24-bit
// samples) through edflib: one signal per recorded channel in frame order, the raw
// recorded values (no montage, no reference, no filter), the patient and start fields and
// every note as an annotation. A recording with cut segments is written as one file per
// continuous stretch. Memory stays bounded (the page buffer and one data record).

#include "recording.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace viewer::edf {

struct ExportRequest {
    enum class Format { AsSamples, Edf, Bdf };
    // Where to write. The extension becomes ".edf" or ".bdf" to suit the format; with more
    // than one stretch the files are NAME-1.edf, NAME-2.edf, ... A device (/dev/null) is
    // written as named.
    std::string output;
    int64_t firstFrame = 0;
    int64_t endFrame = -1; // frame after the last one exported; -1 for the end of the data
    bool overwrite = false;
    // Called after every chunk with the frames written and the frames to write; returning
    // false cancels the export.
    std::function<bool(int64_t done, int64_t total)> progress;
    // AsSamples: BDF+ for 4-byte samples, EDF+ otherwise. Edf, Bdf: that format; EDF+ is
    // refused for samples wider than its 16 bits.
    Format format = Format::AsSamples;
    // Further annotations beside the notes (the reviewer's events), in milliseconds from the
    // start of the file's data; a duration of 0 is an instant. Texts are UTF-8.
    struct Annotation {
        int64_t onsetMs = 0;
        int64_t durationMs = 0;
        std::string text;
    };
    std::vector<Annotation> annotations;
};

struct ExportResult {
    enum class Outcome { Written, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    std::string error; // why it failed, for the user
    std::vector<std::string> files;
    bool bdf = false;
    int signalCount = 0;
    int64_t frames = 0;    // frames written from the recording (without padding)
    int notes = 0;         // notes written as annotations
    int notesOutside = 0;  // notes that lie outside the exported frames
    int events = 0;        // further annotations written
    int eventsOutside = 0; // further annotations outside the exported frames
    std::vector<std::string> warnings;
};

// The format a file name asks for: Edf for ".edf", Bdf for ".bdf" (any case), nothing for
// any other name.
std::optional<ExportRequest::Format> formatNamed(const std::string& path);

// The files `request` would write for `rec`, in order (existing or not).
std::vector<std::string> plannedFiles(const Recording& rec, const ExportRequest& request);

// Writes the files. `rec` must be open; its page buffer is used (allocated when missing)
// and its current montage replaced (the reference mode set to none, the history montage at
// each stretch loaded for the prefiltering texts), so callers give a Recording of its own.
// Nothing is written when a planned file exists and `overwrite` is false, when the range
// holds no frame or when the recording cannot be expressed; a cancelled or failed export
// removes every file it has begun.
ExportResult exportRecording(Recording& rec, const ExportRequest& request);

// One line for the user: files, format, signals, duration and notes of a written export.
std::string summaryLine(const ExportResult& r, uint16_t rate);

} // namespace viewer::edf
