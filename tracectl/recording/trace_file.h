#pragma once
// A trace file opened read-only. Offsets and sizes are 64-bit, so recordings over
// 2 GiB read like any other. The file is never written.

#include <cstddef>
#include <cstdint>
#include <string>

namespace viewer {

class TraceFile {
public:
    TraceFile() = default;
    ~TraceFile();
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // Opens `path` for reading, closing any file open before. False when it cannot be opened.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }

    // Size of the open file in bytes; 0 when none is open.
    int64_t size() const;

    // Reads up to `count` bytes at `offset` into `dst`. Returns the number of bytes read:
    // fewer at the end of the file, 0 past it, on a read error or for a negative offset.
    size_t readAt(int64_t offset, void* dst, size_t count) const;

    // Tells the system that reads will jump about (no read-ahead), as for a walk through
    // small parts of a large file.
    void adviseRandomAccess() const;

private:
    int fd_ = -1;
};

} // namespace viewer
