#pragma once
// Fixture files (videos made with ffmpeg) shared by every test process of a build.

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace viewer::testing {

// The folder `parent`/`name`, made once: `make` fills a fresh folder renamed into place; the
// first rename wins, so parallel tests never see half a set. Bump `name` when `make` changes.
inline std::filesystem::path
fixtureFolder(const std::filesystem::path& parent, const std::string& name,
              const std::function<bool(const std::filesystem::path&)>& make) {
    const std::filesystem::path ready = parent / name;
    if (std::filesystem::exists(ready)) {
        return ready;
    }
    std::filesystem::create_directories(parent);
    std::string making = (parent / "making-XXXXXX").string();
    if (!::mkdtemp(making.data())) {
        return ready;
    }
    std::error_code ec;
    if (make(making)) {
        std::filesystem::rename(making, ready, ec);
    }
    std::filesystem::remove_all(making, ec);
    return ready;
}

} // namespace viewer::testing
