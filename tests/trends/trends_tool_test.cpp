// The trends tool: the four CSV files with their columns, one row per segment and line (or
// pair), the picture, and the usage errors.

#include "temp_dir.h"
#include "trend_recordings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace viewer::testing {
namespace {

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) {
        lines.push_back(l);
    }
    return lines;
}

int run(const std::string& arguments) {
    const std::string command = std::string("QT_QPA_PLATFORM=offscreen ") + VIEWER_BIN_DIR +
                                "/trends " + arguments + " 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TrendsTool, WritesTheFourTablesAndThePicture) {
    TempDir dir;
    writeRecording(dir.file("r.vwr"), tenTwentyRecording(256, 25, [](double t, int e) {
                       return 20.0 * std::sin(6.0 * t + e);
                   }));
    ASSERT_EQ(run(dir.file("r.vwr") + " --out " + dir.file("out") + " --segment 5 --png"), 0);
    // 25 s in segments of 5 s, 18 lines, 8 pairs.
    const std::vector<std::string> cdsa = linesOf(dir.file("out/cdsa.csv"));
    ASSERT_EQ(cdsa.size(), 1u + 5 * 18);
    EXPECT_EQ(cdsa[0].substr(0, 28), "start_s,line,0.5,1.0,1.5,2.0");
    EXPECT_EQ(cdsa[0].substr(cdsa[0].size() - 10), ",29.5,30.0");
    EXPECT_EQ(std::count(cdsa[1].begin(), cdsa[1].end(), ','), 61);
    EXPECT_EQ(cdsa[19].substr(0, 12), "5.000,Fp1-F7");
    const std::vector<std::string> aeeg = linesOf(dir.file("out/aeeg.csv"));
    ASSERT_EQ(aeeg.size(), 1u + 5 * 18);
    EXPECT_EQ(aeeg[0], "start_s,line,lower_uv,upper_uv");
    const std::vector<std::string> asymmetry = linesOf(dir.file("out/asymmetry.csv"));
    ASSERT_EQ(asymmetry.size(), 1u + 5 * 8);
    EXPECT_EQ(asymmetry[0], "start_s,pair,index");
    EXPECT_EQ(asymmetry[1].substr(0, 22), "0.000,Fp1-F7 / Fp2-F8,");
    const std::vector<std::string> suppression = linesOf(dir.file("out/suppression.csv"));
    ASSERT_EQ(suppression.size(), 1u + 5 * 18);
    EXPECT_EQ(suppression[0], "start_s,line,percent");
    EXPECT_GT(std::ifstream(dir.file("out/trends.png"), std::ios::ate).tellg(), 1000);

    for (const char* wrong : {" --segment 1", " --segment 61", " --segment x", " --montage Nope"}) {
        EXPECT_EQ(run(dir.file("r.vwr") + " --out " + dir.file("bad") + wrong), 2) << wrong;
    }
    EXPECT_EQ(run(dir.file("missing.vwr") + " --out " + dir.file("bad")), 1);
}

} // namespace
} // namespace viewer::testing
