#include "atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>
#include <vector>

namespace viewer::events {

namespace {

std::string reason(const std::string& what, int error) {
    return what + ": " + std::strerror(error);
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now; false when the close reported a failure (a write that did not reach the disk).
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

void syncFolder(const std::string& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        ::fsync(dir.get());
    }
}

// Writes `contents` into a new temporary file beside `path` and returns its name, or an
// empty name with `error` set.
std::string writeTemporary(const std::string& path, std::string_view contents, std::string& error) {
    std::string name = path + ".XXXXXX";
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    Descriptor fd(::mkostemp(buffer.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        error = reason("cannot create a file in " + folderOf(path), errno);
        return {};
    }
    name.assign(buffer.data());
    ::fchmod(fd.get(), 0644);
    if (!writeAll(fd.get(), contents) || ::fsync(fd.get()) != 0 || !fd.close()) {
        error = reason("cannot write " + name, errno);
        ::unlink(name.c_str());
        return {};
    }
    return name;
}

// Keeps the current file at `path` as `backupPath`, whole: a second name for it (or, where
// the file system has none, a copy), renamed over the old backup.
std::string keepBackup(const std::string& path, const std::string& backupPath) {
    const std::string linked = backupPath + ".new";
    ::unlink(linked.c_str());
    if (::link(path.c_str(), linked.c_str()) != 0) {
        if (errno == ENOENT) {
            return {}; // nothing to keep yet
        }
        const FileText old = readWholeFile(path);
        if (!old.read) {
            return old.missing ? std::string() : old.error;
        }
        return writeFileAtomically(backupPath, old.text);
    }
    if (::rename(linked.c_str(), backupPath.c_str()) != 0) {
        const int error = errno;
        ::unlink(linked.c_str());
        return reason("cannot keep " + backupPath, error);
    }
    return {};
}

} // namespace

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

FileText readWholeFile(const std::string& path) {
    FileText result;
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        result.missing = errno == ENOENT;
        result.error = reason("cannot read " + path, errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) == 0 && st.st_size > 0) {
        result.text.reserve(static_cast<size_t>(st.st_size));
    }
    char chunk[65536];
    while (true) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            result.error = reason("cannot read " + path, errno);
            result.text.clear();
            return result;
        }
        if (n == 0) {
            break;
        }
        result.text.append(chunk, static_cast<size_t>(n));
    }
    result.read = true;
    return result;
}

std::string writeFileAtomically(const std::string& path, std::string_view contents,
                                const std::string& backupPath) {
    std::string error;
    const std::string temporary = writeTemporary(path, contents, error);
    if (temporary.empty()) {
        return error;
    }
    if (!backupPath.empty()) {
        error = keepBackup(path, backupPath);
        if (!error.empty()) {
            ::unlink(temporary.c_str());
            return error;
        }
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = reason("cannot replace " + path, errno);
        ::unlink(temporary.c_str());
        return error;
    }
    syncFolder(folderOf(path));
    return {};
}

} // namespace viewer::events
