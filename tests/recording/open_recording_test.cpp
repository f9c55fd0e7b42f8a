// Opening, identifying and validating a trace file, and what it leaves in the recording.

#include "fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace viewer::testing {
namespace {

std::vector<uint8_t> repeated(size_t n, uint8_t byte) { return std::vector<uint8_t>(n, byte); }

TEST(OpenRecording, AcceptsAGoodFileAndDerivesItsSizes) {
    TempDir dir;
    OpenedRecording o(dir, fourChannels());
    ASSERT_TRUE(o.opened);
    EXPECT_TRUE(o.rec.isOpen());
    EXPECT_FALSE(o.rec.fileInvalid);
    EXPECT_EQ(o.rec.header.headerType, 4);
    EXPECT_EQ(o.rec.header.rate, 256);
    EXPECT_EQ(o.rec.header.numChannels, 4);
    EXPECT_EQ(o.rec.header.multiplexer, 8);
    EXPECT_EQ(o.rec.totalSamples, 2560);
    EXPECT_EQ(o.rec.fileLength, o.rec.header.dataStart + 2560 * 8);
    EXPECT_EQ(o.rec.orderTable[2], 14);
    EXPECT_EQ(o.rec.orderTable[4], 0);
    EXPECT_EQ(o.rec.electrodes[14].status, 1);
    EXPECT_EQ(o.rec.electrodes[14].logicGround, 32768);
}

TEST(OpenRecording, CheckSumCoversNineBytesAndIgnoresTheVideoBit) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.videoFlag = true;
    OpenedRecording withVideo(dir, d, "video.vwr");
    ASSERT_TRUE(withVideo.opened);
    EXPECT_EQ(withVideo.rec.header.checkWord & 0x8000, 0x8000);

    // Blank patient fields: six blanks and the three birth bytes.
    RecordingDescription blank = fourChannels();
    blank.surname = "";
    blank.name = "";
    blank.birthDay = 1;
    blank.birthMonth = 2;
    blank.birthYear = 3;
    blank.checkWord = 6 * 32 + 1 + 2 + 3;
    EXPECT_TRUE(OpenedRecording(dir, blank, "blank.vwr").opened);
    blank.checkWord = 0x8000 | (6 * 32 + 1 + 2 + 3);
    EXPECT_TRUE(OpenedRecording(dir, blank, "blankvideo.vwr").opened);
    blank.checkWord = 6 * 32 + 1 + 2 + 3 + 1;
    OpenedRecording wrong(dir, blank, "wrong.vwr");
    EXPECT_FALSE(wrong.opened);
    EXPECT_TRUE(wrong.rec.fileInvalid);
    EXPECT_FALSE(wrong.rec.isOpen());
}

TEST(OpenRecording, MissingPathChangesNothingButUnusableFilesCloseTheRecording) {
    TempDir dir;
    OpenedRecording o(dir, fourChannels());
    ASSERT_TRUE(o.opened);
    o.rec.fileInvalid = true;

    EXPECT_FALSE(openRecording(o.rec, dir.file("nothing-here.vwr")));
    EXPECT_FALSE(o.rec.fileInvalid);
    EXPECT_TRUE(o.rec.isOpen());
    EXPECT_EQ(o.rec.header.numChannels, 4);

    RecordingDescription bad = fourChannels();
    bad.checkWord = 1;
    writeRecording(dir.file("bad.vwr"), bad);
    EXPECT_FALSE(openRecording(o.rec, dir.file("bad.vwr")));
    EXPECT_TRUE(o.rec.fileInvalid);
    EXPECT_FALSE(o.rec.isOpen());

    // A folder exists but is no trace file.
    EXPECT_FALSE(openRecording(o.rec, dir.path().string()));
    EXPECT_TRUE(o.rec.fileInvalid);
}

TEST(OpenRecording, RejectsHeadersItCannotUse) {
    TempDir dir;
    struct Case {
        const char* what;
        std::function<void(RecordingDescription&)> change;
    };
    const std::vector<Case> cases = {
        {"header type 5", [](auto&) {}}, // patched into the file below
        {"5-byte samples", [](auto& d) { d.bytesPerSample = 5; }},
        {"3-byte samples", [](auto& d) { d.bytesPerSample = 3; }},
        {"0-byte samples", [](auto& d) { d.bytesPerSample = 0; }},
        {"rate 0", [](auto& d) { d.rate = 0; }},
        {"no channels",
         [](auto& d) {
             d.numChannels = 0;
             d.multiplexer = 0;
         }},
        {"multiplexer 0", [](auto& d) { d.multiplexer = 0; }},
        {"257 channels",
         [](auto& d) {
             d.numChannels = 257;
             d.multiplexer = 514;
         }},
        {"multiplexer not channels x width", [](auto& d) { d.multiplexer = 9; }},
        {"header cut at 300 bytes", [](auto& d) { d.truncateAt = 300; }},
    };
    for (const Case& c : cases) {
        RecordingDescription d = fourChannels();
        c.change(d);
        writeRecording(dir.file("case.vwr"), d);
        if (std::string(c.what) == "header type 5") {
            std::fstream f(dir.file("case.vwr"), std::ios::in | std::ios::out | std::ios::binary);
            f.seekp(175);
            f.put(5);
        }
        Recording rec;
        EXPECT_FALSE(openRecording(rec, dir.file("case.vwr"))) << c.what;
        EXPECT_TRUE(rec.fileInvalid) << c.what;
        EXPECT_FALSE(rec.isOpen()) << c.what;
    }
}

TEST(OpenRecording, NamedAreasDecideHistoryAndVideo) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.history = true;
    d.historySamples = {0, 5000};
    d.videoIndex = true;
    d.videos = {{0, 60000, 1}};
    OpenedRecording named(dir, d, "named.vwr");
    ASSERT_TRUE(named.opened);
    EXPECT_TRUE(named.rec.historyPresent);
    EXPECT_EQ(named.rec.historySamples[1], 5000);
    EXPECT_EQ(named.rec.historySamples[2], -1);
    EXPECT_EQ(named.rec.videos[0].lengthMs, 60000);
    EXPECT_EQ(named.rec.videos[1].startMs, -1);

    // "HISTORY" followed by NUL is not the history area; an unnamed video area is not read.
    d.areaNames[Area::History] = {'H', 'I', 'S', 'T', 'O', 'R', 'Y', '\0'};
    d.areaNames[Area::Dvideo] = {'D', 'V', 'I', 'D', 'E', 'O', ' ', '\0'};
    OpenedRecording unnamed(dir, d, "unnamed.vwr");
    ASSERT_TRUE(unnamed.opened);
    EXPECT_FALSE(unnamed.rec.historyPresent);
    EXPECT_EQ(unnamed.rec.historySamples[1], 5000); // read all the same
    for (const VideoRecord& v : unnamed.rec.videos) {
        ASSERT_EQ(v.startMs, -1);
        ASSERT_EQ(v.lengthMs, -1);
        ASSERT_EQ(v.fileNumber, -1);
    }
}

TEST(OpenRecording, OversizedAreasAreReadOnlyUpToTheirTables) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    // 300 notes, 1000 electrodes, 400 channel codes, 150 segments, a 40000-byte video index.
    d.rawAreas[Area::Note] = repeated(300 * kNoteRecordSize, 0x41);
    d.rawAreas[Area::Labcod] = repeated(1000 * kElectrodeRecordSize, 0x01);
    d.rawAreas[Area::Order] = repeated(800, 0x02);
    d.rawAreas[Area::Tronca] = repeated(150 * kSegmentRecordSize, 0x03);
    d.videoIndex = true;
    d.rawAreas[Area::Dvideo] = repeated(40000, 0x04);
    // Keep the check sum and the layout usable: the electrodes' bytes do not matter here.
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(o.rec.noteCount, 200);
    EXPECT_EQ(o.rec.notes[199].sample, 0x41414141);
    EXPECT_EQ(o.rec.notes[200].sample, 0); // the end record stays
    EXPECT_EQ(o.rec.orderTable[255], 0x0202);
    EXPECT_EQ(o.rec.electrodes[639].status, 1);
    EXPECT_EQ(o.rec.segments[99].fileSample, 0x03030303u);
    EXPECT_EQ(o.rec.videos[1023].fileNumber, 0x04040404);
}

TEST(OpenRecording, ShortAreasLeaveNothingOfTheRecordingBefore) {
    TempDir dir;
    RecordingDescription full = fourChannels();
    for (int i = 1; i <= 50; ++i) {
        full.notes.push_back(note(i * 10, "note"));
    }
    full.segments = {{1000, 10}, {2000, 20}};
    full.videoIndex = true;
    full.videos = {{0, 1000, 1}, {1000, 1000, 2}};
    full.history = true;
    full.historySamples = {0, 100, 200};
    OpenedRecording o(dir, full);
    ASSERT_TRUE(o.opened);
    ASSERT_EQ(o.rec.notes[49].sample, 500);

    RecordingDescription small = fourChannels();
    small.notes = {note(7, "only")};
    small.rawAreas[Area::Note] = std::vector<uint8_t>(3 * kNoteRecordSize, 0);
    small.rawAreas[Area::Note][0] = 7;
    small.rawAreas[Area::Tronca] = {};
    small.rawAreas[Area::Order] = {1, 0, 2, 0, 14, 0, 15, 0}; // exactly four codes
    writeRecording(dir.file("small.vwr"), small);
    ASSERT_TRUE(openRecording(o.rec, dir.file("small.vwr")));
    EXPECT_EQ(o.rec.noteCount, 3);
    EXPECT_EQ(o.rec.notes[0].sample, 7);
    EXPECT_EQ(o.rec.notes[1].sample, 0);
    EXPECT_EQ(o.rec.notes[49].sample, 0);
    EXPECT_EQ(o.rec.segments[0].origSample, 0);
    EXPECT_EQ(o.rec.videos[0].startMs, -1);
    EXPECT_EQ(o.rec.videos[1].fileNumber, -1);
    EXPECT_FALSE(o.rec.historyPresent);
    EXPECT_EQ(o.rec.orderTable[3], 15);
    EXPECT_EQ(o.rec.orderTable[4], 0);
}

TEST(OpenRecording, FrameCountIgnoresAPartialFrameAndAMisplacedDataStart) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.frames = 100;
    writeRecording(dir.file("partial.vwr"), d);
    {
        std::ofstream f(dir.file("partial.vwr"), std::ios::binary | std::ios::app);
        f.write("\1\2\3", 3); // three bytes of a frame of eight
    }
    Recording rec;
    ASSERT_TRUE(openRecording(rec, dir.file("partial.vwr")));
    EXPECT_EQ(rec.totalSamples, 100);

    d.frames = 0;
    d.dataStart = 50'000'000; // past the end of the file
    writeRecording(dir.file("nodata.vwr"), d);
    ASSERT_TRUE(openRecording(rec, dir.file("nodata.vwr")));
    EXPECT_EQ(rec.totalSamples, 0);
}

TEST(OpenRecording, LongestPageKeepsOnlySixteenBitsOfItsSeconds) {
    EXPECT_EQ(maxPageMsFor(32, 256), 160000);
    EXPECT_EQ(maxPageMsFor(23, 256), 222000);
    EXPECT_EQ(maxPageMsFor(1, 1), 0);          // 1310720 seconds: low 16 bits are 0
    EXPECT_EQ(maxPageMsFor(1, 40), -32768000); // 32768 seconds read back as -32768
    EXPECT_EQ(maxPageMsFor(1, 20), 0);         // 65536 seconds
    EXPECT_EQ(maxPageMsFor(128, 2048), 5000);  // 5 whole seconds
    EXPECT_EQ(maxPageMsFor(256, 65535), 0);
}

TEST(OpenRecording, RecordingsOverTwoGigabytesOpenAndReadAtTheirEnd) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.frames = 0;
    writeRecording(dir.file("big.vwr"), d);
    Recording probe;
    ASSERT_TRUE(openRecording(probe, dir.file("big.vwr")));
    const int64_t dataStart = probe.header.dataStart;
    const int64_t frames = (int64_t{3} << 30) / 8; // three gigabytes of 8-byte frames
    const int64_t lastFrame = dataStart + (frames - 1) * 8;
    std::filesystem::resize_file(dir.file("big.vwr"),
                                 static_cast<uintmax_t>(dataStart + frames * 8));
    {
        std::fstream f(dir.file("big.vwr"), std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(lastFrame);
        f.write("\x11\x22\x33\x44\x55\x66\x77\x88", 8);
    }
    Recording rec;
    ASSERT_TRUE(openRecording(rec, dir.file("big.vwr")));
    EXPECT_EQ(rec.fileLength, dataStart + frames * 8);
    EXPECT_EQ(rec.totalSamples, frames);
    uint8_t tail[8] = {};
    ASSERT_EQ(rec.file.readAt(lastFrame, tail, 8), 8u);
    EXPECT_EQ(tail[0], 0x11);
    EXPECT_EQ(tail[7], 0x88);
    EXPECT_EQ(rec.file.readAt(rec.fileLength, tail, 8), 0u);
}

TEST(OpenRecording, LongPathsAreNotCut) {
    TempDir dir;
    std::filesystem::path deep = dir.path();
    for (int i = 0; i < 4; ++i) {
        deep /= std::string(90, static_cast<char>('a' + i));
    }
    std::filesystem::create_directories(deep);
    const std::string path = (deep / "recording.vwr").string();
    ASSERT_GT(path.size(), 300u);
    writeRecording(path, fourChannels());
    Recording rec;
    EXPECT_TRUE(openRecording(rec, path));
}

} // namespace
} // namespace viewer::testing
