// The answers the host gets about an open recording and without one, the notes of a page
// and the labels of montage lines.

#include "fixtures.h"
#include "montage_lines.h"
#include "page_notes.h"
#include "recording_queries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace viewer::testing {
namespace {

using namespace viewer::queries;

TEST(PatientQueries, NamesStopAtTheirWidthTheirNulAndTrailingBlanks) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    // Surname, name; the answers. 0xE9 and 0x80 are Windows-1252 e-acute and euro sign.
    const std::string cases[][4] = {
        {"Verdi", "Anna\t", "Verdi", "Anna"},
        {"ABCDEFGHIJKLMNOPQRSTUV", "abcdefghijklmnopqrst", "ABCDEFGHIJKLMNOPQRSTU",
         "abcdefghijklmnopqrs"},
        {std::string("Bo\0Xyz", 6), "Ren\xe9 \x80", "Bo", "Ren\xc3\xa9 \xe2\x82\xac"}};
    for (const auto& c : cases) {
        d.surname = c[0];
        d.name = c[1];
        OpenedRecording o(dir, d);
        EXPECT_EQ(GetSurName(o.rec) + "|" + GetName(o.rec), c[2] + "|" + c[3]);
    }
}

TEST(TimeQueries, TimeOfDayIsNotWrappedAndTakesCutOutStretchesIntoAccount) {
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
}

TEST(TimeQueries, DateTimeAndLengthOfTheRecording) {
    TempDir dir;
    RecordingDescription d = fourChannels(); // 3 November 2026, 09:30
    d.frames = 2561;
    OpenedRecording o(dir, d);
    const double start = 46329.0 + (9 * 3600 + 30 * 60) / 86400.0;
    EXPECT_DOUBLE_EQ(GetDateTimeFromSeconds(o.rec, 0), start);
    // A single-precision second: a day comes out a little short.
    EXPECT_NEAR(GetDateTimeFromSeconds(o.rec, 86400) - start, 0.99999363, 1e-8);
    EXPECT_EQ(totalTrcSec(o.rec), 11); // seconds round up
    d.frames = 2560;
    EXPECT_EQ(totalTrcSec(OpenedRecording(dir, d).rec), 10);
    d.recMonth = 2;
    d.recDay = 30;
    EXPECT_TRUE(std::isnan(GetDateTimeFromSeconds(OpenedRecording(dir, d).rec, 0)));
    d.recDay = 29; // 2026 is no leap year
    EXPECT_TRUE(std::isnan(GetDateTimeFromSeconds(OpenedRecording(dir, d).rec, 0)));
    d.recYear = 100; // 2000 is one
    EXPECT_DOUBLE_EQ(GetDateTimeFromSeconds(OpenedRecording(dir, d).rec, 0),
                     36585.0 + 0.5 * 19 / 24);
}

TEST(NoteQueries, PositionsInSecondsWithNegativePositionsRepaired) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.notes = {note(128, "Eyes closed"), note(-5, "Bad"), note(512, "Eyes open")};
    OpenedRecording n(dir, d, "notes.vwr");
    EXPECT_EQ(n.rec.noteCount, 200);
    // Past the end of the list, the end record and outside the table: 0.
    const std::pair<int32_t, float> cases[] = {{0, 0.5f},  {1, 1.0f / 256}, {2, 2.0f},  {3, 0.0f},
                                               {-1, 0.0f}, {200, 0.0f},     {201, 0.0f}};
    for (const auto& [k, seconds] : cases) {
        EXPECT_FLOAT_EQ(GetPosNote(n.rec, k), seconds) << k;
    }
    EXPECT_EQ(n.rec.notes[1].sample, 1);

    // An area of two records: the record at noteCount lies beyond it. An empty area.
    d.rawAreas[Area::Note] = std::vector<uint8_t>(2 * kNoteRecordSize, 0);
    d.rawAreas[Area::Note][1] = 1;                   // sample 256
    d.rawAreas[Area::Note][kNoteRecordSize + 2] = 2; // sample 131072
    OpenedRecording two(dir, d, "two.vwr");
    EXPECT_EQ((Values{two.rec.noteCount, std::lround(GetPosNote(two.rec, 1)),
                      std::lround(GetPosNote(two.rec, 2))}),
              (Values{2, 512, 0}));
    d.rawAreas[Area::Note] = {};
    OpenedRecording none(dir, d, "none.vwr");
    EXPECT_EQ((Values{none.rec.noteCount, std::lround(GetPosNote(none.rec, 0))}), (Values{0, 0}));
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
    d.videos = {{2'000'000'000, 2'000'000'000, 5}};
    EXPECT_EQ(GetSfasVideo(OpenedRecording(dir, d).rec, 2'100'000'000, file), 2'000'000'000);
    EXPECT_EQ(file, 5);
    d.videoStart = 1234; // a fixed video start answers every position, with no file number
    EXPECT_EQ(GetSfasVideo(OpenedRecording(dir, d).rec, 99999, file), 1234);
    EXPECT_EQ(file, -1);
}

TEST(NoFileQueries, EveryQueryGivesItsNeutralAnswer) {
    Recording rec;
    int32_t file = 0;
    EXPECT_EQ(GetSurName(rec) + GetName(rec) + GetArchivedMontName(rec, 0), "");
    EXPECT_EQ(GetDateTimeFromSeconds(rec, 10), 0.0);
    EXPECT_EQ(GetPosNote(rec, 0), 0.0f);
    EXPECT_EQ(GetNextFileVideoStart(rec, 1), -1.0f);
    EXPECT_FALSE(ThereIsVideo(rec));
    EXPECT_EQ(
        (Values{GetMont(rec, 10), GetTime(rec, 10.5f), totalTrcSec(rec), GetVideoOneSfasFrame(rec),
                GetSfasVideo(rec, 1000, file), file, GetNumArchivedMontage(rec)}),
        (Values{0, 0, 0, 0, -1, -1, 0}));
}

TEST(PageNotes, ReportsTheNotesOfThePageCutTo39Characters) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.notes = {note(100, "before"),        note(1000, "first"),
               note(-7, "repaired"),       note(1500, std::string(45, 'x')),
               note(3560, "at the end"),   note(3561, "beyond"),
               note(2000, "never reached")};
    OpenedRecording o(dir, d);
    Recording& r = o.rec;
    ASSERT_EQ(r.notes[3].text[39], 'x'); // the file holds all 40 characters
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
