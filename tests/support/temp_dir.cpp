#include "temp_dir.h"

#include <cstdlib>
#include <stdexcept>

namespace viewer::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "viewer-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

} // namespace viewer::testing
