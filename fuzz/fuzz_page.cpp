// Opens the input as a recording, then loads and computes the page at its start, middle
// and end, as recorded and in the first archived montage (or all recorded electrodes).

#include "fuzz_input.h"
#include "page_notes.h"
#include "recording_queries.h"
#include "trace_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace viewer;
    const fuzz::InputFile input(data, size);
    TraceModel model;
    if (!model.open(input.path(), true).opened) {
        model.loadPage(); // a refused file leaves no page to load
        return 0;
    }
    for (const bool asRecorded : {true, false}) {
        if (!asRecorded) {
            model.chooseMontage(30, 50);
        }
        const int32_t total = queries::totalTrcSec(model.recording());
        for (const int32_t sec : {0, total / 2, total - 1}) {
            bool switched = false;
            if (model.seekPage(sec, asRecorded, switched)) {
                model.loadPage();
                model.computeLineValues();
                notesOnPage(model.recording(), 100, 1000);
            }
        }
    }
    return 0;
}
