// Opens the input as an EDF or BDF file (the readers take a path, as edflib does) with all
// its annotations, and with only the first records' and the rest read after; loads pages at
// the start, middle and end and asks the queries that read the notes and the clock.

#include "edf_reader.h"
#include "fuzz_input.h"
#include "page_loading.h"
#include "page_notes.h"
#include "recording_queries.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace viewer;
    using namespace viewer::queries;
    const fuzz::InputFile input(data, size);
    edfRefusalReason(input.path());
    for (const NotesReading reading : {NotesReading::Whole, NotesReading::Start}) {
        Recording rec;
        if (!openRecording(rec, input.path(), reading)) {
            continue;
        }
        readMoreEdfNotes(rec, 3);
        rec.pageBuffer.assign(kPageBufferValues, 0);
        const int32_t total = totalTrcSec(rec);
        for (const int32_t s : {0, total / 2, total - 1, total}) {
            rec.pageStart = static_cast<uint32_t>(s) * rec.header.rate;
            rec.samplesPerPage = 2u * rec.header.rate;
            LoadPage(rec, rec.pageStart, rec.samplesPerPage);
            GetMont(rec, s);
            notesOnPage(rec, 100, 1000);
        }
        readMoreEdfNotes(rec, -1);
        for (int32_t i = 0; GetPosNote(rec, i) != 0.0f; ++i) {
        }
    }
    return 0;
}
