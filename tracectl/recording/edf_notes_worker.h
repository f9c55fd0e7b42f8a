#pragma once
// Reads the annotations of an EDF+ file's remaining records on a thread of its own, through
// a descriptor of its own, and hands each part read to a function; the recording itself is
// never touched here, so the part is merged (mergeEdfScan) where the recording lives.

#include "edf_annotations.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace viewer {

class EdfNotesWorker {
public:
    // Called on the worker's thread with each part read, in order; `last` on the final one.
    using Deliver = std::function<void(EdfScan&& scan, bool last)>;

    EdfNotesWorker() = default;
    ~EdfNotesWorker() { stop(); }
    EdfNotesWorker(const EdfNotesWorker&) = delete;
    EdfNotesWorker& operator=(const EdfNotesWorker&) = delete;

    // Stops any reading under way, then reads records [from, layout.records) of the file at
    // `path` in parts of `recordsPerPart` records. A file that cannot be opened again
    // delivers one empty last part.
    void start(const std::string& path, EdfLayout layout, int64_t from, int64_t recordsPerPart,
               Deliver deliver);
    // Ends the reading under way (after the part being read) and waits for the thread.
    void stop();

private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

} // namespace viewer
