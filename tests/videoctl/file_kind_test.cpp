// The file-kind tests on paths.

#include "file_kind.h"

#include <gtest/gtest.h>

#include <string>

using clipdeck::isAsfPath;
using clipdeck::isAvcPath;

TEST(FileKind, AvcTakesTheTextAfterTheLastDot) {
    EXPECT_TRUE(isAvcPath("/v/clip.mts"));
    EXPECT_TRUE(isAvcPath("/v/CLIP.MTS"));
    EXPECT_TRUE(isAvcPath("/v/clip.Mpe"));
    EXPECT_TRUE(isAvcPath("clip.mpg.mts"));
    EXPECT_FALSE(isAvcPath("/v/clip.mpg"));
    EXPECT_FALSE(isAvcPath("/v/clip.mts2"));
    EXPECT_FALSE(isAvcPath("/v/clip"));
    // The last "." may sit in a folder name: its "extension" then runs on past it.
    EXPECT_FALSE(isAvcPath("/v.mts/clip"));
    // A path whose only "." is its first character has no extension at all.
    EXPECT_FALSE(isAvcPath(".mts"));
    EXPECT_TRUE(isAvcPath("a.mts"));
}

TEST(FileKind, AsfLooksAnywhereInThePath) {
    EXPECT_TRUE(isAsfPath("/v/clip.wmv"));
    EXPECT_TRUE(isAsfPath("/v/CLIP.WMA"));
    EXPECT_TRUE(isAsfPath("/v/clip.asf"));
    // In a folder name, and in the middle of a name, it counts as well.
    EXPECT_TRUE(isAsfPath("/videos.wmv/clip.mpg"));
    EXPECT_TRUE(isAsfPath("/v/clip.asfx"));
    EXPECT_FALSE(isAsfPath("/v/clip.mpg"));
    EXPECT_FALSE(isAsfPath("/v/clipwmv"));
    // Only the first 259 bytes are looked at.
    const std::string longFolder = "/" + std::string(260, 'a');
    EXPECT_FALSE(isAsfPath(longFolder + "/clip.wmv"));
    EXPECT_TRUE(isAsfPath(std::string(255, 'a') + ".wmv"));
    EXPECT_FALSE(isAsfPath(std::string(256, 'a') + ".wmv"));
}
