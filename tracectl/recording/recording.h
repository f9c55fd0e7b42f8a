#pragma once
// The recording held by one trace control: the open file, its header and tables in the
// form of the newest header generation, and the values derived from them at open time.

#include "derivation_record.h"
#include "edf_layout.h"
#include "own_lines.h"
#include "records.h"
#include "trace_file.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace viewer {

// Bytes of the page buffer; a page never holds more than this of 32-bit samples.
constexpr int64_t kPageBufferBytes = 5242880;
constexpr int64_t kPageBufferValues = kPageBufferBytes / 4;

struct Recording {
    TraceFile file;
    TrcHeader header{};
    std::array<uint16_t, 256> orderTable{};
    std::array<ElectrodeRecord, kElectrodeCount> electrodes{};
    // 200 notes and the end record behind them, whose sample stays 0.
    std::array<NoteRecord, kNoteCapacity + 1> notes{};
    int32_t noteCount = 1000;
    std::array<SegmentRecord, kSegmentCapacity> segments{};
    bool historyPresent = false;
    std::array<int32_t, kHistoryPoints> historySamples = filledHistory();
    int32_t historyIndex = 0;
    std::array<VideoRecord, kVideoCapacity> videos{};
    int64_t fileLength = 0;
    int64_t totalSamples = 0;
    int32_t maxPageMs = 1000;
    bool fileInvalid = false;

    // The page buffer: samplesPerPage frames of numChannels 32-bit values after a load.
    std::vector<int32_t> pageBuffer;

    MontageRecord currentMontage{};
    // The lines of a montage defined outside the recording, when one is in force.
    OwnMontage own;
    // One record per line of currentMontage, rebuilt with it; weighted lines' sums beside.
    std::array<DerivationRecord, kMaxLines> derivations{};
    WeightedLines weighted;
    uint32_t pageStart = 0;
    uint32_t samplesPerPage = 0;

    // An EDF or BDF file's layout, notes and stretches; none for a trace file.
    std::optional<EdfSource> edf;

    bool isOpen() const { return file.isOpen(); }

    // Empties every table the readers fill, so that a short area leaves nothing behind.
    void clearTables();

private:
    static std::array<int32_t, kHistoryPoints> filledHistory() {
        std::array<int32_t, kHistoryPoints> h{};
        h.fill(-1);
        return h;
    }
};

// How much of an EDF+ file's annotations opening reads: all of them, or those of its first
// records only (the rest through readMoreEdfNotes, or a scan elsewhere).
enum class NotesReading { Whole, Start };

// Opens, identifies, reads and validates the recording at `path`: a trace file, or an EDF or
// BDF file (told by its first bytes), which is read into the same model.
// A path that names nothing fails and leaves `rec` as it was (fileInvalid cleared).
// Any other failure closes the file, leaves no file open and sets fileInvalid.
bool openRecording(Recording& rec, const std::string& path,
                   NotesReading notes = NotesReading::Whole);

// Patient check sum: the three first characters of surname and name and the birth bytes.
uint16_t patientCheckSum(const TrcHeader& h);

// Longest page in ms the page buffer holds: 1000 x whole seconds, the seconds kept in 16 bits.
int32_t maxPageMsFor(uint16_t numChannels, uint16_t rate);

} // namespace viewer
