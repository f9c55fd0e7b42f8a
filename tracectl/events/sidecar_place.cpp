#include "sidecar_place.h"

#include "atomic_file.h"
#include "recording.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace viewer::events {

namespace {

constexpr uint64_t kFnvOffset = 14695981039346656037ULL;
constexpr uint64_t kFnvPrime = 1099511628211ULL;

void hashBytes(uint64_t& h, const void* data, size_t n) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) {
        h = (h ^ bytes[i]) * kFnvPrime;
    }
}

template <typename T> void hashValue(uint64_t& h, const T& value) {
    hashBytes(h, &value, sizeof value);
}

// The recording's path without its extension.
std::string stem(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return hasExtension ? path.substr(0, dot) : path;
}

} // namespace

std::string identityName(const Recording& rec) {
    const TrcHeader& h = rec.header;
    uint64_t hash = kFnvOffset;
    hashBytes(hash, h.surname.data(), h.surname.size());
    hashBytes(hash, h.name.data(), h.name.size());
    for (const uint8_t b : {h.birthMonth, h.birthDay, h.birthYear, h.recDay, h.recMonth, h.recYear,
                            h.recHour, h.recMinute, h.recSecond}) {
        hashValue(hash, b);
    }
    for (const uint16_t v : {h.numChannels, h.rate, h.bytesPerSample}) {
        hashValue(hash, v);
    }
    hashValue(hash, rec.fileLength);
    char name[64];
    std::snprintf(name, sizeof name, "rec-%04d%02d%02d-%02d%02d%02d-%016llx", 1900 + h.recYear,
                  h.recMonth, h.recDay, h.recHour, h.recMinute, h.recSecond,
                  static_cast<unsigned long long>(hash));
    return name;
}

std::string userDataFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
        return std::string(data) + "/Viewer";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.local/share/Viewer";
}

bool folderWritable(const std::string& folder) {
    struct statvfs fs {};
    if (::access(folder.c_str(), W_OK | X_OK) != 0 ||
        (::statvfs(folder.c_str(), &fs) == 0 && (fs.f_flag & ST_RDONLY) != 0)) {
        return false;
    }
    return true;
}

std::string SidecarPlace::json() const { return tsv.substr(0, tsv.size() - 4) + ".json"; }

std::string SidecarPlace::backup() const { return tsv + ".bak"; }

std::string SidecarPlace::lock() const { return tsv + ".lock"; }

SidecarPlace sidecarPlace(const std::string& recordingPath, const std::string& identity,
                          const std::string& dataFolder,
                          const std::function<bool(const std::string&)>& writable) {
    SidecarPlace place;
    const std::string beside = stem(recordingPath) + ".events.tsv";
    if (writable(folderOf(recordingPath))) {
        place.tsv = beside;
        return place;
    }
    place.tsv = dataFolder + "/events/" + identity + ".events.tsv";
    place.fallback = true;
    struct stat st {};
    if (::stat(beside.c_str(), &st) == 0) {
        place.seed = beside;
    }
    return place;
}

} // namespace viewer::events
