#include "page_notes.h"

#include "text.h"

#include <algorithm>

namespace viewer {

std::vector<PageNote> notesOnPage(Recording& rec, int32_t labelWidth, int32_t traceWidth) {
    std::vector<PageNote> found;
    const uint64_t start = rec.pageStart;
    const uint64_t end = start + rec.samplesPerPage;
    const int count = std::clamp(rec.noteCount, 0, kNoteCapacity);
    for (int i = 0; i < count; ++i) {
        NoteRecord& note = rec.notes[i];
        if (note.sample == 0) {
            break;
        }
        if (note.sample < 0) {
            note.sample = 1;
        }
        const auto position = static_cast<uint64_t>(note.sample);
        if (start <= position && position < end) {
            note.text[39] = '\0';
            const auto offset = static_cast<int64_t>(position - start);
            const auto span = static_cast<int64_t>(end - start);
            PageNote page;
            page.numNota = static_cast<int16_t>(found.size());
            page.posPix = labelWidth + static_cast<int32_t>(traceWidth * offset / span);
            page.text = std::string(fieldText(note.text.data(), 39));
            found.push_back(std::move(page));
        }
        if (position > end) {
            break;
        }
    }
    return found;
}

} // namespace viewer
