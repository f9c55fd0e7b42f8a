#pragma once
// Fixture videos of the video window tests, made with ffmpeg the first time a test asks for
// them, into one folder of the build tree that every test process shares (each test runs in a
// process of its own); the folder's name carries a version of the recipe.
//   three.mpg  3 s of MPEG-2 program stream, 25 frames per second, 160 x 120, no sound
//   eight.avi  8 s of MJPEG in AVI declaring 40100 microseconds per frame, no sound

#include "fixture_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace viewer::testing {

namespace videofiles {

// Bump when the recipe changes, so that no test sees videos of an older recipe.
inline constexpr char kFolder[] = "viewer-videos-v1";

inline bool ffmpeg(const std::string& arguments) {
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

inline bool makeAll(const std::filesystem::path& dir) {
    const std::string d = "'" + dir.string() + "/";
    return ffmpeg("-f lavfi -i testsrc=s=160x120:r=25:d=3 -c:v mpeg2video -q:v 4 -g 12 -an "
                  "-f vob " +
                  d + "three.mpg'") &&
           ffmpeg("-f lavfi -i testsrc=s=160x120:r=1000000/40100:d=8 -c:v mjpeg -q:v 6 -an " + d +
                  "eight.avi'");
}

inline std::filesystem::path folder() {
    return fixtureFolder(std::filesystem::path(VIEWER_BIN_DIR).parent_path() / "test-fixtures",
                         kFolder, makeAll);
}

} // namespace videofiles

// The path of fixture video `name`; fails the calling test when it could not be made.
inline std::string fixtureVideo(const std::string& name) {
    const std::filesystem::path path = videofiles::folder() / name;
    EXPECT_TRUE(std::filesystem::exists(path)) << "fixture video " << name << " could not be made";
    return path.string();
}

// Puts fixture video `name` at `path` (a link to it).
inline void placeVideo(const std::string& name, const std::string& path) {
    std::error_code ec;
    std::filesystem::create_symlink(fixtureVideo(name), path, ec);
    EXPECT_FALSE(ec) << "cannot place " << path << ": " << ec.message();
}

} // namespace viewer::testing
