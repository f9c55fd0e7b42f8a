// Opening and validating trace files of every header generation, what each leaves in the
// recording, and the answers the host gets about it: times, notes, video, line labels.

#include "fixtures.h"
#include "little_endian.h"
#include "montage_lines.h"
#include "page_notes.h"
#include "recording_queries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>

namespace viewer::testing {
namespace {

using namespace viewer::queries;

void patch(const std::string& path, std::streamoff at, uint32_t value, int bytes = 4) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(at);
    for (int b = 0; b < bytes; ++b) {
        f.put(static_cast<char>(value >> (8 * b)));
    }
}

// Four channels every generation can carry (Fp1, O2, A1 and ECG1+), 30 s at 256 per second.
RecordingDescription olderRecording(uint8_t headerType) {
    RecordingDescription d;
    d.headerType = headerType;
    d.order = {1, 15, 23, 167};
    d.electrodes = {{1, eegElectrode("Fp1")},
                    {15, eegElectrode("O2")},
                    {23, eegElectrode("A1")},
                    {167, polygraphicElectrode("ECG1+", "ECG1-", 1600)}};
    d.frames = 256 * 30;
    d.sample = [](int64_t frame, int channel) { return int32_t((frame + channel) % 200); };
    d.notes = {note(12 * 256, "Eyes closed"), note(20 * 256, "Eyes open")};
    d.segments = {{3600 * 256, 10 * 256}};
    d.surname = "ABCDEFGHIJKLMNOPQRSTUV"; // fills its 22-byte field; the queries give 21
    d.name = "abcdefghijklmnopqrst";      // fills its 20-byte field; the queries give 19
    return d;
}

// Blank patient fields: the check sum is six blanks and the three birth bytes (1, 2, 3).
void blankPatient(RecordingDescription& d, int checkWord) {
    d.surname = d.name = "";
    d.birthDay = 1, d.birthMonth = 2, d.birthYear = 3;
    d.checkWord = static_cast<uint16_t>(checkWord);
}

TEST(OpenRecording, AcceptsOrRejectsEachHeader) {
    TempDir dir;
    using Change = std::function<void(RecordingDescription&)>;
    struct Case {
        const char* what;
        uint8_t type;
        Change change;
        bool opens;
    };
    std::vector<Case> cases = {
        {"header type 5", 4, [](auto&) {}, false}, // patched into the file below
        {"3-byte samples", 4, [](auto& d) { d.bytesPerSample = 3; }, false},
        {"rate 0", 4, [](auto& d) { d.rate = 0; }, false},
        {"no channels", 4, [](auto& d) { d.numChannels = d.multiplexer = 0; }, false},
        {"multiplexer 0", 4, [](auto& d) { d.multiplexer = 0; }, false},
        {"257 channels", 4, [](auto& d) { d.numChannels = 257, d.multiplexer = 514; }, false},
        {"multiplexer not channels x width", 4, [](auto& d) { d.multiplexer = 9; }, false},
        {"header cut at 300 bytes", 4, [](auto& d) { d.truncateAt = 300; }, false},
        {"type 0 cut in its header", 0, [](auto& d) { d.frames = 0, d.truncateAt = 6000; }, false},
        {"blank patient", 4, [](auto& d) { blankPatient(d, 6 * 32 + 6); }, true},
        {"video bit", 4, [](auto& d) { blankPatient(d, 0x8000 | (6 * 32 + 6)); }, true},
        {"wrong check sum", 4, [](auto& d) { blankPatient(d, 6 * 32 + 7); }, false},
    };
    for (uint8_t type : {0, 1, 2, 3}) {
        cases.push_back({"129 channels", type, [](auto& d) { d.order.resize(129, 1); }, false});
        cases.push_back({"birth month 0", type, [](auto& d) { d.birthMonth = 0; }, false});
        cases.push_back({"month 13", type, [](auto& d) { d.recMonth = 13; }, false});
        cases.push_back({"December", type, [](auto& d) { d.recMonth = d.birthMonth = 12; }, true});
    }
    for (const Case& c : cases) {
        RecordingDescription d = olderRecording(c.type);
        c.change(d);
        writeRecording(dir.file("case.vwr"), d);
        if (std::string(c.what) == "header type 5") {
            patch(dir.file("case.vwr"), kHeaderTypeOffset, 5, 1);
        }
        Recording rec;
        EXPECT_EQ(openRecording(rec, dir.file("case.vwr")), c.opens) << c.what << int(c.type);
        EXPECT_EQ(rec.fileInvalid, !c.opens) << c.what << ", type " << int(c.type);
        EXPECT_EQ(rec.isOpen(), c.opens) << c.what << ", type " << int(c.type);
    }
}

TEST(OpenRecording, MissingPathChangesNothingUnusableFilesCloseAndFramesAreCounted) {
    TempDir dir;
    OpenedRecording o(dir, fourChannels());
    ASSERT_TRUE(o.opened);
    const Recording& r = o.rec;
    EXPECT_EQ((Values{r.header.multiplexer, r.totalSamples, r.fileLength - r.header.dataStart}),
              (Values{8, 2560, 2560 * 8}));
    o.rec.fileInvalid = true;
    EXPECT_FALSE(openRecording(o.rec, dir.file("nothing-here.vwr")));
    EXPECT_TRUE(!r.fileInvalid && r.isOpen() && r.header.numChannels == 4);
    EXPECT_FALSE(openRecording(o.rec, dir.path().string())); // a folder is no trace file
    EXPECT_TRUE(r.fileInvalid && !r.isOpen());

    // The frame count ignores a partial frame at the end and a data start past the end.
    RecordingDescription d = fourChannels();
    d.frames = 100;
    writeRecording(dir.file("partial.vwr"), d);
    std::ofstream(dir.file("partial.vwr"), std::ios::binary | std::ios::app).write("\1\2\3", 3);
    ASSERT_TRUE(openRecording(o.rec, dir.file("partial.vwr")));
    EXPECT_EQ(r.totalSamples, 100);
    d.frames = 0, d.dataStart = 50'000'000; // past the end of the file
    EXPECT_EQ(OpenedRecording(dir, d).rec.totalSamples, 0);
}

TEST(OpenRecording, AreasAreReadOnlyUpToTheirTablesAndShortOnesLeaveNothingBehind) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    // 300 notes, 1000 electrodes, 400 channel codes, 150 segments, a 40000-byte video index.
    d.rawAreas[Area::Note] = std::vector<uint8_t>(300 * kNoteRecordSize, 0x41);
    d.rawAreas[Area::Labcod] = std::vector<uint8_t>(1000 * kElectrodeRecordSize, 0x01);
    d.rawAreas[Area::Order] = std::vector<uint8_t>(800, 0x02);
    d.rawAreas[Area::Tronca] = std::vector<uint8_t>(150 * kSegmentRecordSize, 0x03);
    d.history = d.videoIndex = true;
    d.rawAreas[Area::Dvideo] = std::vector<uint8_t>(40000, 0x04);
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    const Recording& r = o.rec;
    // The end record behind the 200 notes stays.
    EXPECT_EQ(
        (Values{r.noteCount, r.notes[199].sample, r.notes[200].sample, r.orderTable[255],
                r.electrodes[639].status, r.segments[99].fileSample, r.videos[1023].fileNumber}),
        (Values{200, 0x41414141, 0, 0x0202, 1, 0x03030303, 0x04040404}));

    RecordingDescription small = fourChannels();
    small.rawAreas[Area::Note] = std::vector<uint8_t>(3 * kNoteRecordSize, 0);
    small.rawAreas[Area::Note][0] = 7;
    small.rawAreas[Area::Tronca] = {};
    small.rawAreas[Area::Order] = {1, 0, 2, 0, 14, 0, 15, 0}; // exactly four codes
    writeRecording(dir.file("small.vwr"), small);
    ASSERT_TRUE(openRecording(o.rec, dir.file("small.vwr")));
    EXPECT_FALSE(r.historyPresent);
    EXPECT_EQ((Values{r.noteCount, r.notes[0].sample, r.notes[199].sample, r.segments[0].fileSample,
                      r.videos[1].fileNumber, r.orderTable[3], r.orderTable[4],
                      r.electrodes[639].status, r.electrodes[14].logicGround}),
              (Values{3, 7, 0, 0, -1, 15, 0, 0, 32768}));
}

TEST(OpenRecording, RecordingsOverTwoGigabytesAndLongPathsOpen) {
    TempDir dir;
    std::filesystem::path deep = dir.path();
    for (char c : {'a', 'b', 'c', 'd'}) {
        deep /= std::string(90, c);
    }
    std::filesystem::create_directories(deep);
    const std::string path = (deep / "big.vwr").string();
    RecordingDescription d = fourChannels();
    d.frames = 0;
    writeRecording(path, d);
    Recording rec;
    ASSERT_TRUE(openRecording(rec, path));
    const int64_t frames = (int64_t{3} << 30) / 8; // three gigabytes of 8-byte frames
    const int64_t lastFrame = rec.header.dataStart + (frames - 1) * 8;
    std::filesystem::resize_file(path, static_cast<uintmax_t>(lastFrame + 8));
    patch(path, lastFrame, 0x44332211);
    ASSERT_TRUE(openRecording(rec, path));
    EXPECT_EQ((Values{rec.fileLength, rec.totalSamples}), (Values{lastFrame + 8, frames}));
    uint8_t tail[8] = {};
    EXPECT_TRUE(rec.file.readAt(lastFrame, tail, 8) == 8 && tail[0] == 0x11 && tail[3] == 0x44);
}

TEST(OldGenerations, TypeZeroBuildsItsElectrodesFromTheBuiltInTable) {
    TempDir dir;
    OpenedRecording o(dir, olderRecording(0));
    ASSERT_TRUE(o.opened);
    const Recording& r = o.rec;
    EXPECT_EQ((Values{r.header.bytesPerSample, r.header.multiplexer, r.totalSamples,
                      r.orderTable[3], r.electrodes[1].logicMax, r.electrodes[1].logicGround}),
              (Values{1, 4, 256 * 30, 167, 255, 128}));
    // Labels, then status, type, physical maximum and minimum and unit, of six codes.
    std::string labels;
    Values fields;
    for (int code : {1, 22, 100, 167, 169, 200}) {
        const ElectrodeRecord& e = r.electrodes[code];
        labels += text(e.positiveLabel) + text(e.negativeLabel) + "|";
        fields.insert(fields.end(),
                      {e.status, e.electrodeType, e.physicalMax, e.physicalMin, e.unit});
    }
    EXPECT_EQ(labels, "Fp1  G2   |A2   G2   |..........|ECG1+ECG1-|DC1+ DC1- |..........|");
    EXPECT_EQ(fields, (Values{1, 0, 200,  -200,  0, 0, 0, 200,  -200,  0, 0, 0, 0, 0, 0,
                              1, 1, 1600, -1600, 0, 0, 1, 1000, -1000, 1, 0, 1, 0, 0, 0}));
}

TEST(OldGenerations, TypeOneMapsOldCodesAndCalibrationDivisorsScaleTypeZero) {
    TempDir dir;
    RecordingDescription d = olderRecording(1);
    d.oldCodes = {0x0001, 0x000F, 0x1A05, 0x0016}; // 0x1A05: a "....." input in type 1
    OpenedRecording o(dir, d);
    const auto& e = o.rec.electrodes;
    EXPECT_EQ((Values{o.rec.orderTable[2], e[255].status, e[255].electrodeType}),
              (Values{255, 1, 1}));
    // Divisors that leave no steps give flat inputs; the file still opens.
    for (const auto& [divisor, range] : {std::pair<uint16_t, int>{0, 0}, {801, 0}, {800, 400}}) {
        d = olderRecording(0);
        d.calibrationDivisor = divisor;
        OpenedRecording z(dir, d);
        EXPECT_EQ(
            (Values{z.opened, z.rec.electrodes[1].physicalMax, z.rec.electrodes[1].physicalMin}),
            (Values{1, range, -range}));
    }
    // Positions in seconds beyond the 32-bit frame field stop at its limits.
    d = olderRecording(2);
    d.rawAreas[Area::Note] = std::vector<uint8_t>(kNoteRecordSize * 2, 0);
    writeI32(d.rawAreas[Area::Note].data(), 10'000'000);
    writeI32(d.rawAreas[Area::Note].data() + kNoteRecordSize, -10'000'000);
    OpenedRecording f(dir, d, "far.vwr");
    EXPECT_EQ((Values{f.rec.notes[0].sample, f.rec.notes[1].sample}),
              (Values{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}));
}

TEST(OldGenerations, TypesTwoAndThreeReadTheirAreasWithinTheirScratch) {
    TempDir dir;
    for (uint8_t type : {2, 3}) {
        RecordingDescription d = olderRecording(type);
        d.electrodes[15].avgExcluded = 1;
        d.rawAreas[Area::Order] = {1, 15, 23, 167, 9, 9, 9, 9, 9, 9}; // longer than 4 channels
        OpenedRecording o(dir, d);
        ASSERT_TRUE(o.opened) << int(type);
        const Recording& r = o.rec;
        const ElectrodeRecord& o2 = r.electrodes[15];
        EXPECT_EQ(text(o2.positiveLabel), "O2");
        EXPECT_EQ((Values{o2.logicMax, o2.logicGround, o2.physicalMax, o2.physicalMin,
                          o2.avgExcluded, o2.status}),
                  (Values{65535, 32768, 3200, -3200, 1, 1}));
        EXPECT_EQ((Values{r.orderTable[3], r.orderTable[4], r.electrodes[9].status,
                          r.electrodes[167].electrodeType, r.electrodes[159].electrodeType,
                          r.videos[0].startMs}),
                  (Values{167, 0, 0, 1, 0, -1}));
        EXPECT_EQ(text(r.electrodes[300].positiveLabel) + text(r.electrodes[300].negativeLabel),
                  "..........");

        // LABCOD placed so that only its first 100 bytes lie in the file: type 2 reads what
        // the file did not hold as empty records, type 3 fails; an ORDER of 4 bytes fails.
        const std::string path = dir.file("rec.vwr");
        const auto size = static_cast<uint32_t>(std::filesystem::file_size(path));
        patch(path, kAreaTableOffset + 16 + 8, size - 100);
        EXPECT_EQ(openRecording(o.rec, path), type == 2) << int(type);
        if (type == 2) {
            EXPECT_EQ((Values{r.electrodes[100].physicalMax, r.electrodes[254].logicGround}),
                      (Values{0, 0}));
        }
        writeRecording(path, d);
        patch(path, kAreaTableOffset + 8, size - 2);
        EXPECT_FALSE(openRecording(o.rec, path)) << int(type);
    }
}

TEST(OldGenerations, EveryGenerationAnswersTheQueriesAlike) {
    TempDir dir;
    OpenedRecording want(dir, olderRecording(4), "4.vwr");
    ASSERT_TRUE(want.opened);
    EXPECT_EQ(GetSurName(want.rec) + "|" + GetName(want.rec),
              "ABCDEFGHIJKLMNOPQRSTU|abcdefghijklmnopqrs");
    // The answers of one recording to every query that reads the header and its tables.
    const auto answers = [](Recording& r) {
        int32_t file = 0;
        Values v = {totalTrcSec(r), GetSfasVideo(r, 5000, file), file, GetVideoOneSfasFrame(r),
                    ThereIsVideo(r)};
        for (int32_t s : {0, 9, 10, 25}) {
            v.push_back(GetMont(r, s));
            v.push_back(std::llround(GetDateTimeFromSeconds(r, s) * 86400.0));
        }
        for (int32_t n = 0; n < 3; ++n) {
            v.push_back(std::llround(GetPosNote(r, n) * 256.0f));
        }
        for (int c = 0; c < 4; ++c) {
            const ElectrodeRecord& e = r.electrodes[r.orderTable[c]];
            v.insert(v.end(), {r.orderTable[c], e.status, e.electrodeType});
        }
        return v;
    };
    // Each opens over a recording with a video, of which nothing may stay behind.
    RecordingDescription video = fourChannels();
    video.videoFlag = true, video.videoDelay = 40000, video.videoStart = 1234;
    for (uint8_t type : {0, 1, 2, 3}) {
        OpenedRecording o(dir, video, "video.vwr");
        writeRecording(dir.file("old.vwr"), olderRecording(type));
        ASSERT_TRUE(openRecording(o.rec, dir.file("old.vwr"))) << int(type);
        EXPECT_EQ(GetSurName(o.rec) + GetName(o.rec), GetSurName(want.rec) + GetName(want.rec));
        EXPECT_EQ(answers(o.rec), answers(want.rec)) << int(type);
    }
}

TEST(TimeQueries, TimeOfDayDateAndLengthTakeCutOutStretchesAndBadDatesIntoAccount) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.recHour = 23, d.recMinute = 59, d.recSecond = 50;
    OpenedRecording late(dir, d, "late.vwr");
    EXPECT_EQ((Values{GetMont(late.rec, 20), GetMont(late.rec, 0)}), (Values{86410, 86390}));

    const int start = 9 * 3600 + 30 * 60;
    d.recHour = 9, d.recMinute = 30, d.recSecond = 0;
    d.segments = {{3600 * 256, 1000 * 256}};
    OpenedRecording cut(dir, d, "cut.vwr");
    const Recording& r = cut.rec;
    // Values that are no whole seconds: NaN is second 0, 1e30 the last second there is.
    EXPECT_EQ((Values{GetMont(r, 999), GetMont(r, 1000), GetMont(r, 1200), GetTime(r, 1200.99f),
                      GetTime(r, 9.99f), GetTime(r, std::nanf("")), GetTime(r, 1e30f)}),
              (Values{start + 999, start + 3600, start + 3800, start + 3800, start + 9, start,
                      GetMont(r, std::numeric_limits<int32_t>::max())}));
    EXPECT_NE(GetTime(r, 1e30f), start);

    // A first entry of 0 ends the table. With two segments the last one that starts at or
    // before the frame applies.
    d.segments = {{0, 0}, {3600 * 256, 10 * 256}};
    EXPECT_EQ(GetMont(OpenedRecording(dir, d).rec, 100), start + 100);
    d.recHour = d.recMinute = 0;
    d.segments = {{100 * 256, 10 * 256}, {500 * 256, 20 * 256}};
    OpenedRecording two(dir, d);
    EXPECT_EQ((Values{GetMont(two.rec, 5), GetMont(two.rec, 15), GetMont(two.rec, 25)}),
              (Values{5, 105, 505}));

    d = fourChannels(); // 3 November 2026, 09:30
    d.frames = 2561;
    OpenedRecording o(dir, d);
    const double day = 46329.0 + start / 86400.0;
    EXPECT_DOUBLE_EQ(GetDateTimeFromSeconds(o.rec, 0), day);
    // A single-precision second: a day comes out a little short.
    EXPECT_NEAR(GetDateTimeFromSeconds(o.rec, 86400) - day, 0.99999363, 1e-8);
    EXPECT_EQ(totalTrcSec(o.rec), 11); // seconds round up
    d.frames = 2560;
    EXPECT_EQ(totalTrcSec(OpenedRecording(dir, d).rec), 10);
    // Month, day, hour; the automation day of 2026's date at 09:30 (hour 9), or NaN for no
    // calendar date. January and February count from the year before in the arithmetic.
    const double nan = std::nan("");
    const struct {
        uint8_t month, day, hour;
        double day1899;
    } dates[] = {{1, 15, 9, 46037}, {2, 28, 9, 46081}, {3, 1, 9, 46082}, {12, 31, 9, 46387},
                 {2, 29, 9, nan},   {2, 30, 9, nan},   {0, 10, 9, nan},  {13, 1, 9, nan},
                 {1, 0, 9, nan},    {1, 32, 9, nan},   {4, 31, 9, nan},  {1, 15, 24, nan}};
    for (const auto& c : dates) {
        d.recMonth = c.month, d.recDay = c.day, d.recHour = c.hour;
        const double got = GetDateTimeFromSeconds(OpenedRecording(dir, d).rec, 0);
        if (std::isnan(c.day1899)) {
            EXPECT_TRUE(std::isnan(got)) << int(c.month) << "/" << int(c.day);
        } else {
            EXPECT_DOUBLE_EQ(got, c.day1899 + start / 86400.0) << int(c.month) << "/" << int(c.day);
        }
    }
    d.recMonth = 2, d.recDay = 29, d.recHour = 9;
    d.recYear = 100; // 2000 is a leap year
    EXPECT_DOUBLE_EQ(GetDateTimeFromSeconds(OpenedRecording(dir, d).rec, 0),
                     36585.0 + 0.5 * 19 / 24);
}

TEST(PixelQueries, PositionsRunFromTheLabelsToTheRightEdge) {
    // Page length, position (ms); pixel with labels 80 wide and the right edge at 1000.
    const int32_t cases[][3] = {{10000, 0, 80},     {10000, 10000, 1000}, {10000, 5000, 540},
                                {10000, 3333, 386}, {10000, 10001, -1},   {10000, -1, -1},
                                {0, 0, -1},         {-5, 0, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(GetPixelPosition(c[0], 80, 1000, c[1]), c[2]) << c[0] << " " << c[1];
    }
}

TEST(VideoQueries, TheVideoIndexMapsPositionsToFilesAndTheirStarts) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.videoFlag = d.videoIndex = true;
    d.videoDelay = 40000;
    d.videos = {{1000, 59000, 1}, {60000, 60000, 2}};
    OpenedRecording o(dir, d);
    // Position; start and file. Before the first video: the first; a shared boundary: the
    // first match; a video whose end lies beyond 32 bits covers the positions after it.
    const int32_t cases[][3] = {{500, 1000, 1},     {90000, 60000, 2}, {60000, 1000, 1},
                                {120000, 60000, 2}, {130000, -1, -1},  {2100000000, -1, -1}};
    for (const auto& c : cases) {
        int32_t file = 0;
        EXPECT_EQ((Values{GetSfasVideo(o.rec, c[0], file), file}), (Values{c[1], c[2]})) << c[0];
    }
    EXPECT_EQ(
        (Values{lround(GetNextFileVideoStart(o.rec, 1)), lround(GetNextFileVideoStart(o.rec, 2)),
                lround(GetNextFileVideoStart(o.rec, 7)), GetVideoOneSfasFrame(o.rec)}),
        (Values{60000, -1, -1, int16_t(40000)}));
    EXPECT_TRUE(ThereIsVideo(o.rec));

    int32_t file = 0;
    Recording closed; // no recording open: no video, no file, no delay, whatever the header
    closed.header.checkWord = 0x8000, closed.header.videoDelay = 40000, closed.header.videoStart = 7;
    EXPECT_EQ((Values{GetSfasVideo(closed, 500, file), file, GetVideoOneSfasFrame(closed),
                      ThereIsVideo(closed)}),
              (Values{-1, -1, 0, 0}));
    d.videos = {{2'000'000'000, 2'000'000'000, 5}};
    EXPECT_EQ(GetSfasVideo(OpenedRecording(dir, d).rec, 2'100'000'000, file), 2'000'000'000);
    EXPECT_EQ(file, 5);
    d.videoStart = 1234; // a fixed video start answers every position, with no file number
    EXPECT_EQ(GetSfasVideo(OpenedRecording(dir, d).rec, 99999, file), 1234);
    EXPECT_EQ(file, -1);
}

TEST(Notes, PositionsAndTheNotesOfAPageCutTo39Characters) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.notes = {note(100, "before"),         note(1000, "first"),
               note(-7, "repaired"),        note(1500, std::string(45, 'x')),
               note(3560, "at the end"),    note(3561, "beyond"),
               note(2000, "never reached"), note(-5, "late")};
    OpenedRecording o(dir, d);
    Recording& r = o.rec;
    ASSERT_EQ(r.notes[3].text[39], 'x'); // the file holds all 40 characters
    // Positions in seconds, a negative one repaired; past the list and the table: 0.
    const std::pair<int32_t, float> positions[] = {{0, 100.0f / 256}, {7, 1.0f / 256}, {8, 0.0f},
                                                   {-1, 0.0f},        {200, 0.0f},     {201, 0.0f}};
    for (const auto& [k, seconds] : positions) {
        EXPECT_FLOAT_EQ(GetPosNote(r, k), seconds) << k;
    }
    r.pageStart = 1000;
    r.samplesPerPage = 2560;
    std::vector<PageNote> notes = notesOnPage(r, 100, 900);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ((Values{notes[0].numNota, notes[0].posPix, notes[1].numNota, notes[1].posPix}),
              (Values{0, 100, 1, 100 + 900 * 500 / 2560}));
    EXPECT_EQ(notes[0].text, "first");
    EXPECT_EQ(notes[1].text, std::string(39, 'x'));
    EXPECT_EQ(r.notes[3].text[39], '\0'); // the table keeps the cut
    EXPECT_EQ(r.notes[2].sample, 1);      // repaired as the walk passed it

    // A note at the page end is passed over and the walk goes on; it ends at noteCount and
    // at an empty record (noteCount 1000 as before any file: 200 records at most).
    r.pageStart = 0;
    r.samplesPerPage = 1000;
    notes = notesOnPage(r, 0, 1000);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1].text, "repaired");
    EXPECT_EQ(notes[1].posPix, 1);
    r.noteCount = 2;
    EXPECT_EQ(notesOnPage(r, 0, 1000).size(), 1u);
    r.noteCount = 1000;
    r.notes[2].sample = 0;
    EXPECT_EQ(notesOnPage(r, 0, 1000).size(), 1u);
}

TEST(MontageLines, LabelsEegLinesAndThePrevailingSettings) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.order.push_back(167);
    d.electrodes[167] = polygraphicElectrode("ECG1+", "ECG1-", 3200);
    OpenedRecording o(dir, d);
    MontageRecord& m = o.rec.currentMontage;
    m = montage("test", {{1, 2}, {14, 0}, {167, 0}, {0, 167}, {2, 15}, {700, 1}});
    // An input beyond the table has no label.
    const char* labels[] = {"Fp2 Fp1", " O1", "ECG1- ECG1+", "ECG1+ ECG1-", "O2 Fp2", "Fp1 "};
    const bool eeg[] = {true, true, false, false, true, true};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(lineLabel(o.rec, i), labels[i]) << i;
        EXPECT_EQ(isEegLine(o.rec, i), eeg[i]) << i;
    }
    // High-pass 530, 160, 530, 160, 530 over the EEG lines: 530 prevails. A polygraphic
    // line never counts and never gets a marker.
    const uint32_t highPass[] = {530, 160, 1, 530, 160, 530};
    std::copy(std::begin(highPass), std::end(highPass), m.highPass.begin());
    EXPECT_EQ(linesOffPrevailingSettings(o.rec),
              (std::vector<bool>{false, true, false, false, true, false}));
    for (int i = 0; i < 6; ++i) {
        m.gain[i] = 10 * (i + 1); // all distinct: line 0 is the reference
    }
    EXPECT_EQ(linesOffPrevailingSettings(o.rec),
              (std::vector<bool>{false, true, false, false, true, true}));
    m.inputB[1] = 175, m.inputA[2] = 173; // a value line has a value input on either side
    EXPECT_TRUE(isValueLine(m, 1) && isValueLine(m, 2) && !isValueLine(m, 0));
    EXPECT_STREQ(referenceName(2), "A1+A2");
    EXPECT_EQ(referenceName(4), nullptr);
}

} // namespace
} // namespace viewer::testing
