#pragma once
// Fixture files (videos made with ffmpeg) shared by every test process of a build.

#include <filesystem>
#include <functional>
#include <string>

namespace viewer::testing {

// The folder `parent`/`name`, made once: `make` fills a fresh folder of its own, which is
// renamed into place; the first rename wins and later processes find the folder there, so
// parallel tests never see half a set. Bump a version in `name` when `make` changes.
std::filesystem::path fixtureFolder(const std::filesystem::path& parent, const std::string& name,
                                    const std::function<bool(const std::filesystem::path&)>& make);

} // namespace viewer::testing
