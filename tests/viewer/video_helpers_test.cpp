// The video helpers: file checks, the rate pair of a video file and the clock text.

#include "temp_dir.h"
#include "video_helpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace viewer::testing {
namespace {

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string le32(int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
            static_cast<char>(u >> 24)};
}

// The head of a RIFF file of form `form` whose main header declares `microSecPerFrame`,
// padded to `size` bytes.
std::string riffHead(const std::string& form, int32_t microSecPerFrame, size_t size = 64) {
    std::string head = "RIFF" + le32(1000) + form + "LIST" + le32(200) + "hdrlavih" + le32(56);
    head += le32(microSecPerFrame);
    head.resize(size, '\0');
    return head;
}

struct Rates {
    bool answer;
    int32_t fileRate;
    int32_t realRate;
};

Rates detect(const std::string& path, int16_t delay = 0) {
    int32_t f = -7;
    int32_t r = -7;
    const bool answer = Module1::DetectVideoRates(QString::fromStdString(path), f, r, delay);
    return {answer, f, r};
}

TEST(FileExists, TrueOnlyForAFileThatOpensForReading) {
    TempDir dir;
    writeBytes(dir.file("a.mpg"), "x");
    EXPECT_TRUE(Module1::FileExists(QString::fromStdString(dir.file("a.mpg"))));
    EXPECT_FALSE(Module1::FileExists(QString::fromStdString(dir.file("b.mpg"))));
    EXPECT_FALSE(Module1::FileExists(QString::fromStdString(dir.path().string())));
    EXPECT_FALSE(Module1::FileExists(QString()));
}

TEST(DetectVideoRates, MpegFilesMapNinetyKilohertzToNinetyKilohertzPlusTheDelay) {
    TempDir dir;
    writeBytes(dir.file("v.mpg"), std::string(10, '\0'));
    writeBytes(dir.file("V.MPG"), std::string(10, '\0'));
    const Rates delayed = detect(dir.file("v.mpg"), 90);
    EXPECT_TRUE(delayed.answer);
    EXPECT_EQ(delayed.fileRate, 90090);
    EXPECT_EQ(delayed.realRate, 90000);
    const Rates upper = detect(dir.file("V.MPG"), -100);
    EXPECT_TRUE(upper.answer);
    EXPECT_EQ(upper.fileRate, 89900);
    EXPECT_EQ(upper.realRate, 90000);

    const Rates missing = detect(dir.file("none.mpg"), 90);
    EXPECT_FALSE(missing.answer);
    EXPECT_EQ(missing.fileRate, 1);
    EXPECT_EQ(missing.realRate, 1);
    EXPECT_FALSE(detect("").answer);
}

TEST(DetectVideoRates, AviFrameDurationsSnapToTheNearestNominalRate) {
    TempDir dir;
    const struct {
        int32_t declared;
        int32_t nominal;
    } cases[] = {
        {40100, 40000},   {40629, 40000},    {40630, 40630},     {39371, 40000},
        {33367, 33367},   {80000, 80000},    {82499, 80000},     {96300, 100000},
        {103799, 100000}, {190000, 200000},  {212765, 200000},   {420000, 500000},
        {588234, 500000}, {800001, 1000000}, {1199999, 1000000}, {1200000, 1200000},
        {1, 1},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file("v" + std::to_string(c.declared) + ".avi");
        writeBytes(path, riffHead("AVI ", c.declared));
        const Rates rates = detect(path, 90);
        EXPECT_TRUE(rates.answer) << c.declared;
        EXPECT_EQ(rates.fileRate, c.declared);
        EXPECT_EQ(rates.realRate, c.nominal) << c.declared;
    }
    // The form type is compared without regard to case; the extension plays no part.
    writeBytes(dir.file("lower.bin"), riffHead("avi ", 40100));
    EXPECT_EQ(detect(dir.file("lower.bin")).realRate, 40000);

    // 401 s of such a video are 400 s of trace time.
    const Rates rates = detect(dir.file("v40100.avi"));
    EXPECT_FLOAT_EQ(
        401.0f * static_cast<float>(rates.realRate) / static_cast<float>(rates.fileRate), 400.0f);
}

TEST(DetectVideoRates, NoMappingForFilesThatDeclareNoUsableFrameDuration) {
    TempDir dir;
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"zero.avi", riffHead("AVI ", 0)},     {"negative.avi", riffHead("AVI ", -40000)},
        {"wave.avi", riffHead("WAVE", 40000)}, {"short.avi", riffHead("AVI ", 40000, 49)},
        {"other.wmv", std::string(100, 'x')},
    };
    for (const auto& f : files) {
        writeBytes(dir.file(f.name), f.bytes);
        const Rates rates = detect(dir.file(f.name));
        EXPECT_FALSE(rates.answer) << f.name;
        EXPECT_EQ(rates.fileRate, 1) << f.name;
        EXPECT_EQ(rates.realRate, 1) << f.name;
    }
    writeBytes(dir.file("fifty.avi"), riffHead("AVI ", 40000, 50));
    EXPECT_TRUE(detect(dir.file("fifty.avi")).answer);
}

TEST(FormatHhMmSs, SecondsAsATimeOfDay) {
    EXPECT_EQ(Module1::FormatHhMmSs(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(Module1::FormatHhMmSs(36902), QStringLiteral("10:15:02"));
    EXPECT_EQ(Module1::FormatHhMmSs(86399), QStringLiteral("23:59:59"));
    EXPECT_EQ(Module1::FormatHhMmSs(86410), QStringLiteral("00:00:10"));
    EXPECT_EQ(Module1::FormatHhMmSs(90000), QStringLiteral("01:00:00"));
    EXPECT_EQ(Module1::FormatHhMmSs(-1), QStringLiteral("23:59:59"));
}

TEST(WholeNumber, RoundsHalvesToEvenWithinTheThirtyTwoBitRange) {
    EXPECT_EQ(videotime::wholeNumber(2.5), 2);
    EXPECT_EQ(videotime::wholeNumber(3.5), 4);
    EXPECT_EQ(videotime::wholeNumber(-2.5), -2);
    EXPECT_EQ(videotime::wholeNumber(2.6), 3);
    EXPECT_EQ(videotime::wholeNumber(1e12), INT32_MAX);
    EXPECT_EQ(videotime::wholeNumber(-1e12), INT32_MIN);
    EXPECT_EQ(videotime::wholeNumber(std::nan("")), 0);
}

} // namespace
} // namespace viewer::testing
