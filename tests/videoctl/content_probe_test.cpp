// The content probe: which files count as MPEG program streams.

#include "content_probe.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

using clipdeck::classifyContent;
using clipdeck::ProbeBytes;
using clipdeck::probeIsMpeg;
using clipdeck::ProbeVerdict;
using clipdeck::readProbeBytes;
using viewer::testing::TempDir;

namespace {

std::string write(const TempDir& dir, const std::string& name, const std::string& bytes) {
    std::string path = dir.file(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string withStartCodeAt(size_t at, char code, size_t size = 200) {
    std::string bytes(size, '\x55');
    bytes.replace(at, 4, std::string("\0\0\x01", 3) + code);
    return bytes;
}

struct Messages {
    std::vector<std::pair<std::string, std::string>> shown;
    clipdeck::Reporter reporter() {
        return [this](const std::string& c, const std::string& t) { shown.emplace_back(c, t); };
    }
};

} // namespace

TEST(ContentProbe, StartCodesAtTheHeadAndWithinItsFirstSixtyOffsets) {
    TempDir dir;
    Messages m;
    EXPECT_TRUE(probeIsMpeg(write(dir, "ba", withStartCodeAt(0, '\xBA')), m.reporter()));
    EXPECT_TRUE(probeIsMpeg(write(dir, "b3", withStartCodeAt(0, '\xB3')), m.reporter()));
    EXPECT_TRUE(probeIsMpeg(write(dir, "at59", withStartCodeAt(59, '\xBA')), m.reporter()));
    EXPECT_FALSE(probeIsMpeg(write(dir, "at60", withStartCodeAt(60, '\xBA')), m.reporter()));
    EXPECT_FALSE(probeIsMpeg(write(dir, "other", withStartCodeAt(0, '\xB9')), m.reporter()));
    std::string stream = withStartCodeAt(0, '\xBA');
    stream.replace(0, 4, "#str");
    EXPECT_FALSE(
        probeIsMpeg(write(dir, "str", stream + withStartCodeAt(10, '\xBA')), m.reporter()));
    EXPECT_TRUE(m.shown.empty());
}

TEST(ContentProbe, RiffFormsDecideBeforeTheStartCodeScan) {
    TempDir dir;
    Messages m;
    const std::string afterHeader = withStartCodeAt(4, '\xBA', 100);
    auto riff = [](const char* form) { return std::string("RIFF\x10\0\0\0", 8) + form; };
    EXPECT_FALSE(probeIsMpeg(write(dir, "a.avi", riff("AVI ") + afterHeader), m.reporter()));
    EXPECT_TRUE(
        probeIsMpeg(write(dir, "a.dat", riff("CDXA") + std::string(100, '\0')), m.reporter()));
    // Any other form goes on to the later rules, the start-code scan among them.
    EXPECT_TRUE(probeIsMpeg(write(dir, "a.wav", riff("WAVE") + afterHeader), m.reporter()));
}

TEST(ContentProbe, ImagesAndAsfAreNeverMpeg) {
    TempDir dir;
    Messages m;
    const std::string code = withStartCodeAt(20, '\xBA');
    const std::string asfId("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
    EXPECT_FALSE(probeIsMpeg(write(dir, "asf", asfId + code), m.reporter()));
    EXPECT_FALSE(probeIsMpeg(write(dir, "bmp", "BM" + code), m.reporter()));
    EXPECT_FALSE(probeIsMpeg(write(dir, "image.TGA", code), m.reporter()));
    EXPECT_TRUE(probeIsMpeg(write(dir, "image.tgb", code), m.reporter()));
    const std::string tail("TRUEVISION-XFILE.\0", 18);
    EXPECT_FALSE(probeIsMpeg(write(dir, "targa", code + tail), m.reporter()));
    EXPECT_TRUE(probeIsMpeg(write(dir, "nearly", code + tail.substr(0, 17) + "x"), m.reporter()));
}

TEST(ContentProbe, ZipShowsItsMessageWithThePathAsItStands) {
    TempDir dir;
    Messages m;
    const std::string path =
        write(dir, "odd %s %n %x name.mpg", "PK\x03\x04" + withStartCodeAt(10, '\xBA'));
    EXPECT_FALSE(probeIsMpeg(path, m.reporter()));
    ASSERT_EQ(m.shown.size(), 1u);
    EXPECT_EQ(m.shown[0].first, "Video EEG Message");
    EXPECT_EQ(m.shown[0].second, "\"" + path + "\" is a Zip file!  Try unzipping it.");
}

TEST(ContentProbe, ShortEmptyAndMissingFiles) {
    TempDir dir;
    ProbeBytes bytes;
    const std::string ten = write(dir, "ten", "0123456789");
    ASSERT_TRUE(readProbeBytes(ten, bytes));
    EXPECT_EQ(std::string(bytes.head.begin(), bytes.head.begin() + 10), "0123456789");
    EXPECT_EQ(std::string(bytes.head.begin() + 10, bytes.head.end()), std::string(54, '\0'));
    EXPECT_EQ(std::string(bytes.tail.begin(), bytes.tail.begin() + 54), std::string(54, '\0'));
    EXPECT_EQ(std::string(bytes.tail.begin() + 54, bytes.tail.end()), "0123456789");
    EXPECT_EQ(classifyContent(bytes, ten), ProbeVerdict::NotMpeg);

    // A short file holding a start code is still recognised, its zero fill never is.
    ASSERT_TRUE(readProbeBytes(write(dir, "short", std::string("\0\0\x01\xBA", 4)), bytes));
    EXPECT_EQ(classifyContent(bytes, "short"), ProbeVerdict::Mpeg);
    ASSERT_TRUE(readProbeBytes(write(dir, "zeros", std::string(3, '\0')), bytes));
    EXPECT_EQ(classifyContent(bytes, "zeros"), ProbeVerdict::NotMpeg);

    Messages m;
    EXPECT_FALSE(readProbeBytes(write(dir, "empty", ""), bytes));
    EXPECT_FALSE(probeIsMpeg(dir.file("missing"), m.reporter()));
    EXPECT_FALSE(probeIsMpeg(dir.path().string(), m.reporter()));
    EXPECT_TRUE(m.shown.empty());
}

TEST(ContentProbe, TailOfALongFileIsItsLastSixtyFourBytes) {
    TempDir dir;
    std::string bytes(100, 'h');
    bytes.replace(36, 64, std::string(64, 't'));
    ProbeBytes probe;
    ASSERT_TRUE(readProbeBytes(write(dir, "long", bytes), probe));
    EXPECT_EQ(std::string(probe.head.begin(), probe.head.end()), bytes.substr(0, 64));
    EXPECT_EQ(std::string(probe.tail.begin(), probe.tail.end()), std::string(64, 't'));
}
