// Opens the input as a recording of any header generation and asks every recording query,
// of the open recording or, when the input is refused, of none.

#include "fuzz_input.h"
#include "page_notes.h"
#include "recording_queries.h"

#include <algorithm>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace viewer;
    using namespace viewer::queries;
    const fuzz::InputFile input(data, size);
    Recording rec;
    openRecording(rec, input.path());
    GetSurName(rec);
    GetName(rec);
    const int32_t total = totalTrcSec(rec);
    for (const int32_t s : {0, 1, total / 2, total, -1, INT32_MAX, INT32_MIN}) {
        GetDateTimeFromSeconds(rec, s);
        GetMont(rec, s);
        GetTime(rec, static_cast<float>(s) + 0.5f);
        int32_t videoNum = 0;
        const int64_t ms = std::clamp<int64_t>(int64_t{s} * 1000, INT32_MIN, INT32_MAX);
        GetSfasVideo(rec, static_cast<int32_t>(ms), videoNum);
        GetNextFileVideoStart(rec, s);
        GetPixelPosition(rec.currentMontage.pageMs, 100, 1000, s);
    }
    for (int i = -1; i <= kNoteCapacity + 1; ++i) {
        GetPosNote(rec, i);
    }
    ThereIsVideo(rec);
    GetVideoOneSfasFrame(rec);
    const int16_t archived = GetNumArchivedMontage(rec);
    for (int16_t k = -1; k <= archived; ++k) {
        GetArchivedMontName(rec, k);
    }
    notesOnPage(rec, 100, 1000);
    return 0;
}
