#pragma once
// What the trace control shows, kept apart from Qt: the recording, the montage chosen for
// it, the page read from it and the filtered value of every line over that page. The
// control maps its properties and methods onto these operations and adds the drawing.

#include "filter_bank.h"
#include "line_values.h"
#include "own_montage.h"
#include "recording.h"

#include <cstdint>
#include <span>
#include <string>

namespace viewer {

class TraceModel {
public:
    struct OpenResult {
        bool opened = false;
        bool historyLoaded = false; // a history montage was loaded
    };

    Recording& recording() { return rec_; }
    const Recording& recording() const { return rec_; }
    const FilterBank& filters() const { return filters_; }
    // Values of line `i` from the last computeLineValues(), before scaling; empty when
    // the page's lines were too many values to keep (see LineValues).
    std::span<const float> lineValues(int i) const { return values_.line(i); }

    // Opens the trace file at `path`. On success: maxPageMs for the recording; with
    // `asRecorded` and a montage history the history montage at historyIndex, else no lines;
    // derivations and filters rebuilt; a zero-filled page buffer. A failure leaves the
    // recording as openRecording does. `notes`: how much of an EDF+ file's annotations to read.
    OpenResult open(const std::string& path, bool asRecorded,
                    NotesReading notes = NotesReading::Whole);

    // Follows the montage history (`on`) or shows no lines. Returns the value the setting
    // keeps: false when the recording has no montage history. `historyLoaded` tells whether
    // a history montage was loaded.
    bool setAsRecorded(bool on, bool& historyLoaded);

    // Chooses montage `numMont` (file open, history not followed): N + 30 the montage of all
    // recorded electrodes, 30 .. N + 29 archived montage numMont - 30, 0 .. 29 the montage
    // kept; above N + 30 it becomes 0. N = the usable archived montages. A notch that is on
    // is set from `notchFreq` (50 or 60). Returns the numMont value in force.
    int16_t chooseMontage(int16_t numMont, int16_t notchFreq);

    // Puts montage `def` in force (see applyOwnMontage), its lines without settings of their
    // own taking the gain, filters and notch of the montage in force before it (those kept
    // from the last own montage when that has no lines), and rebuilds derivations and
    // filters. Only with a file open; false without.
    bool useOwnMontage(const MontageDefinition& def);

    // Sets the page length (see applyPageSeconds) and rebuilds derivations and filters.
    // Returns the length in force, in seconds.
    float setPageSeconds(float seconds);
    float pageSeconds() const { return static_cast<float>(rec_.currentMontage.pageMs) / 1000.0f; }

    // Stores the low byte of `notch` (0 off, 1 = 50 Hz, 2 = 60 Hz) and recomputes the filters.
    void setNotch(int16_t notch);

    // Positions the page at second `sec`. False, with nothing changed, when no file is open,
    // `sec` is negative or its frame lies at or past the end of the data. While following
    // the history (`asRecorded`), switches to the history montage of the new page:
    // `historySwitched` is then true and derivations and filters are rebuilt.
    bool seekPage(int32_t sec, bool asRecorded, bool& historySwitched);

    // True with a file open and at least one line in the montage.
    bool hasLines() const { return rec_.isOpen() && rec_.currentMontage.numLines > 0; }

    // Reads the page at pageStart; true when it lies whole before the end of the file.
    bool loadPage();

    // Runs every line of the loaded page through its filter chain, handing each line to
    // `sink` when given (see LineValues).
    void computeLineValues(const LineValues::LineSink& sink = {}) {
        values_.compute(rec_, filters_, sink);
    }
    // Whether computeLineValues() would keep every line's values for lineValues().
    bool keepsLineValues() const { return LineValues::keepsAll(rec_); }

    // Rebuilds the derivation records, then the filter coefficients (only with a file open).
    void buildDerivations();

    // Recomputes every line's filter coefficients and clears all filter state.
    void recomputeFilters();

private:
    // The montage in force is the recording's own again (or none).
    void leaveOwnMontage() { rec_.own = OwnMontage{}; }

    Recording rec_;
    PageSettings lastPage_;
    FilterBank filters_;
    LineValues values_;
};

} // namespace viewer
