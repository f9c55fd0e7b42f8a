#include "page_notes.h"

#include "text.h"

#include <algorithm>

namespace viewer {

namespace {

std::vector<PageNote> edfNotesOnPage(const Recording& rec, int32_t labelWidth, int32_t traceWidth) {
    std::vector<PageNote> found;
    const int64_t start = rec.pageStart;
    const int64_t span = rec.samplesPerPage;
    const auto& notes = rec.edf->notes;
    auto at = std::lower_bound(notes.begin(), notes.end(), start,
                               [](const EdfNote& n, int64_t f) { return n.frame < f; });
    for (; at != notes.end() && at->frame < start + span; ++at) {
        PageNote page;
        page.numNota = static_cast<int16_t>(std::min<size_t>(found.size(), INT16_MAX));
        page.posPix = labelWidth + static_cast<int32_t>(traceWidth * (at->frame - start) / span);
        page.text = at->text;
        page.utf8 = true;
        found.push_back(std::move(page));
    }
    return found;
}

} // namespace

std::vector<PageNote> notesOnPage(Recording& rec, int32_t labelWidth, int32_t traceWidth) {
    if (rec.edf) {
        return edfNotesOnPage(rec, labelWidth, traceWidth);
    }
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
