#include "edf_notes_worker.h"

#include <algorithm>

namespace viewer {

void EdfNotesWorker::start(const std::string& path, EdfLayout layout, int64_t from,
                           int64_t recordsPerPart, Deliver deliver) {
    stop();
    stop_ = false;
    thread_ = std::thread([this, path, layout = std::move(layout), from, recordsPerPart,
                           deliver = std::move(deliver)] {
        TraceFile file;
        if (!file.open(path)) {
            deliver(EdfScan{from, layout.records, {}, {}}, true);
            return;
        }
        // Only the annotation bytes of each record are wanted: read-ahead would pull in the
        // whole file.
        file.adviseRandomAccess();
        for (int64_t r = from; r < layout.records && !stop_; r += recordsPerPart) {
            const int64_t to = std::min(layout.records, r + std::max<int64_t>(1, recordsPerPart));
            deliver(scanEdfRecords(file, layout, r, to), to >= layout.records);
        }
    });
}

void EdfNotesWorker::stop() {
    stop_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace viewer
