#pragma once
// What the fuzz targets share: the input as a file that the readers open by path, an
// anonymous memory file named by its descriptor, so that no input touches the disk.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace viewer::fuzz {

class InputFile {
public:
    InputFile(const uint8_t* data, size_t size) : fd_(memfd_create("fuzz-input", 0)) {
        // A memory file takes every byte in one write; anything else is a broken harness.
        if (fd_ < 0 || (size > 0 && pwrite(fd_, data, size, 0) != static_cast<ssize_t>(size))) {
            std::abort();
        }
    }
    ~InputFile() { close(fd_); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::string path() const { return "/proc/self/fd/" + std::to_string(fd_); }

private:
    int fd_;
};

} // namespace viewer::fuzz
