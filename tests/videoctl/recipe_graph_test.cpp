// Which elements each recipe leaves in the pipeline, and the messages of failed builds.

#include "clip_harness.h"
#include "temp_dir.h"
#include "video_fixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using ::testing::UnorderedElementsAre;
using namespace viewer::testing;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> elements(ClipHarness& h) {
    std::vector<std::string> names;
    for (const QString& n : h.ctrl().graphElementNames()) {
        names.push_back(n.toStdString());
    }
    return names;
}

std::vector<std::string> texts(const ClipHarness& h) {
    std::vector<std::string> out;
    for (const auto& m : h.messages()) {
        out.push_back(m.second.toStdString());
    }
    return out;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string writeFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

constexpr char kVmr[] = "Video Mixing Renderer 9";

} // namespace

TEST(RecipeGraph, MpegProgramStreamsWithAndWithoutSound) {
    ClipHarness h;
    h.open(fixtureVideo("clip.mpg"));
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr, "SOURCE", "MPEG2 Demux", "MPEG2 Decoder",
                                                  "Audio Renderer", "Stream Queue",
                                                  "MPEG2 Video Parser", "Audio Decoder"));
    h.open(fixtureVideo("silent.mpg"));
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr, "SOURCE", "MPEG2 Demux", "MPEG2 Decoder",
                                                  "Stream Queue", "MPEG2 Video Parser"));
    // The same stream inside a RIFF "CDXA" file takes the same road.
    h.open(fixtureVideo("clip.dat"));
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr, "SOURCE", "MPEG2 Demux", "MPEG2 Decoder",
                                                  "Stream Queue", "MPEG2 Video Parser"));
    EXPECT_TRUE(h.messages().empty());
}

TEST(RecipeGraph, TransportStreamsTakeTheAvcRecipe) {
    ClipHarness h;
    h.open(fixtureVideo("sound.mts"));
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_THAT(elements(h),
                UnorderedElementsAre(kVmr, "SOURCE", "AVC Dec", "MPEG2 Demux", "Audio Renderer",
                                     "Stream Queue", "AVC Parser", "Audio Decoder"));
    h.open(fixtureVideo("clip.mts"));
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr, "SOURCE", "AVC Dec", "MPEG2 Demux",
                                                  "Stream Queue", "AVC Parser"));
    // "mpe" is an AVC extension too, whatever the case.
    TempDir dir;
    const std::string mpe = writeFile(dir.file("clip.MPE"), readAll(fixtureVideo("clip.mts")));
    h.open(mpe);
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr, "SOURCE", "AVC Dec", "MPEG2 Demux",
                                                  "Stream Queue", "AVC Parser"));
    EXPECT_TRUE(h.messages().empty());
}

TEST(RecipeGraph, AsfKeepsOnlyTheDecodersItUses) {
    ClipHarness h;
    h.open(fixtureVideo("clip.wmv"));
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_THAT(elements(h),
                UnorderedElementsAre(kVmr, "ASF Reader", "WMA Decoder DMO;", "WMV Decoder DMO;",
                                     "Stream Queue", "Audio Renderer"));
    h.open(fixtureVideo("silent.wmv"));
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_THAT(elements(h),
                UnorderedElementsAre(kVmr, "ASF Reader", "WMV Decoder DMO;", "Stream Queue"));
    EXPECT_TRUE(h.messages().empty());
}

TEST(RecipeGraph, OtherFilesLeaveTheChoiceToTheBackEnd) {
    ClipHarness h;
    h.open(fixtureVideo("clip.avi"));
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr, "SOURCE", "Decoder"));

    // A program stream whose first start code lies at offset 60 is not recognised by the
    // probe; at offset 20 it is, unless the file ends like a Targa image.
    TempDir dir;
    const std::string stream = readAll(fixtureVideo("silent.mpg"));
    h.open(writeFile(dir.file("late.mpg"), std::string(60, '\x55') + stream));
    EXPECT_EQ(h.ctrl().playState(), 3);
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr, "SOURCE", "Decoder"));
    h.open(writeFile(dir.file("early.mpg"), std::string(20, '\x55') + stream));
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr, "SOURCE", "MPEG2 Demux", "MPEG2 Decoder",
                                                  "Stream Queue", "MPEG2 Video Parser"));
    h.open(writeFile(dir.file("targa.mpg"),
                     std::string(20, '\x55') + stream + std::string("TRUEVISION-XFILE.\0", 18)));
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr, "SOURCE", "Decoder"));
    EXPECT_TRUE(h.messages().empty());
}

TEST(RecipeGraph, WmvInAFolderNameMakesAnAsfBuild) {
    TempDir dir;
    const std::string path =
        writeFile(dir.file("cases.wmv/clip.mpg"), readAll(fixtureVideo("silent.mpg")));
    ClipHarness h;
    h.open(path);
    EXPECT_EQ(h.ctrl().playState(), 0);
    EXPECT_EQ(elements(h)[1], "ASF Reader");
    ASSERT_EQ(h.messages().size(), 1u);
    EXPECT_EQ(h.messages()[0].first, "Video EEG Message");
    EXPECT_THAT(texts(h)[0],
                ::testing::MatchesRegex("FAILED\\(hr=0x8[0-9a-f]{7}\\) in RenderOutputPins\\(pGB, "
                                        "g_pSource\\)\n"));
}

TEST(RecipeGraph, ZipShowsItsMessageThenBuildsAsItsNameSays) {
    TempDir dir;
    const std::string path = writeFile(dir.file("clip.mpg"), "PK\x03\x04" + std::string(400, 'z'));
    ClipHarness h;
    h.open(path);
    EXPECT_EQ(h.ctrl().playState(), 0);
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr, "SOURCE", "Audio Renderer", "Decoder"));
    EXPECT_THAT(texts(h),
                ::testing::ElementsAre("\"" + path + "\" is a Zip file!  Try unzipping it.",
                                       "FAILED(hr=0x80040265) in pFG->RenderEx(pOutputPin, "
                                       "AM_RENDEREX_RENDERTOEXISTINGRENDERERS, NULL)\n"));
}

TEST(RecipeGraph, UnreadableFilesFailWithTheirCodes) {
    TempDir dir;
    ClipHarness h;
    const std::string tiny = writeFile(dir.file("tiny.mpg"), "0123456789");
    h.open(tiny);
    EXPECT_EQ(h.ctrl().playState(), 0);
    EXPECT_THAT(texts(h), ::testing::ElementsAre("FAILED(hr=0x80040265) in pFG->RenderEx("
                                                 "pOutputPin, AM_RENDEREX_RENDERTOEXISTINGRENDERERS"
                                                 ", NULL)\n"));

    h.clear();
    const std::string missing = dir.file("missing %s.mpg");
    h.open(missing);
    EXPECT_EQ(h.ctrl().playState(), 0);
    ASSERT_EQ(h.messages().size(), 1u);
    EXPECT_EQ(h.messages()[0].first, "Failed to render file to VMR9");
    EXPECT_EQ(texts(h)[0], "Failed to load the file to the graph!  hr=0x80070002\r\n\r\n"
                           "Filename: " +
                               missing);
    EXPECT_THAT(elements(h), UnorderedElementsAre(kVmr));

    h.clear();
    h.open(dir.file("missing.wmv"));
    EXPECT_THAT(texts(h), ::testing::ElementsAre(
                              "FAILED(hr=0x80070002) in g_pFileSource->Load(wFile, NULL)\n"));

    // Only the first 259 characters of a path reach the back end.
    h.clear();
    const std::string longPath = dir.file(std::string(300, 'n') + ".mpg");
    h.open(longPath);
    ASSERT_EQ(h.messages().size(), 1u);
    EXPECT_EQ(texts(h)[0], "Failed to load the file to the graph!  hr=0x80070002\r\n\r\n"
                           "Filename: " +
                               longPath.substr(0, 259));
}
