#include "fixture_folder.h"

#include <cstdlib>

namespace viewer::testing {

namespace fs = std::filesystem;

fs::path fixtureFolder(const fs::path& parent, const std::string& name,
                       const std::function<bool(const fs::path&)>& make) {
    const fs::path ready = parent / name;
    if (fs::exists(ready)) {
        return ready;
    }
    fs::create_directories(parent);
    std::string pattern = (parent / "making-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        return ready;
    }
    const fs::path making = pattern;
    std::error_code ec;
    if (make(making)) {
        fs::rename(making, ready, ec);
    }
    fs::remove_all(making, ec);
    return ready;
}

} // namespace viewer::testing
