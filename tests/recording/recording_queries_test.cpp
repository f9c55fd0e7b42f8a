// The answers the host gets about an open recording, and without one.

#include "fixtures.h"
#include "recording_queries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace viewer::testing {
namespace {

using namespace viewer::queries;

TEST(PatientQueries, NamesStopAtTheirWidthTheirNulAndTrailingBlanks) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.surname = "Verdi";
    d.name = "Anna\t";
    OpenedRecording short_(dir, d, "short.vwr");
    ASSERT_TRUE(short_.opened);
    EXPECT_EQ(GetSurName(short_.rec), "Verdi");
    EXPECT_EQ(GetName(short_.rec), "Anna");

    d.surname = "ABCDEFGHIJKLMNOPQRSTUV"; // 22 letters, no NUL
    d.name = "abcdefghijklmnopqrst";      // 20 letters
    OpenedRecording full(dir, d, "full.vwr");
    ASSERT_TRUE(full.opened);
    EXPECT_EQ(GetSurName(full.rec), "ABCDEFGHIJKLMNOPQRSTU");
    EXPECT_EQ(GetName(full.rec), "abcdefghijklmnopqrs");

    d.surname = std::string("Bo\0Xyz", 6);
    d.name = "Ren\xe9 \x80"; // Windows-1252 e-acute and euro sign
    OpenedRecording latin(dir, d, "latin.vwr");
    ASSERT_TRUE(latin.opened);
    EXPECT_EQ(GetSurName(latin.rec), "Bo");
    EXPECT_EQ(GetName(latin.rec), "Ren\xc3\xa9 \xe2\x82\xac");
}

// A recording that starts at hh:mm:ss with the given cut-out segments.
std::unique_ptr<Recording> openAt(TempDir& dir, int h, int m, int s,
                                  std::vector<SegmentRecord> segments = {}) {
    RecordingDescription d = fourChannels();
    d.recHour = static_cast<uint8_t>(h);
    d.recMinute = static_cast<uint8_t>(m);
    d.recSecond = static_cast<uint8_t>(s);
    d.segments = std::move(segments);
    writeRecording(dir.file("clock.vwr"), d);
    auto rec = std::make_unique<Recording>();
    EXPECT_TRUE(openRecording(*rec, dir.file("clock.vwr")));
    return rec;
}

TEST(TimeQueries, TimeOfDayIsNotWrappedAndTakesCutOutStretchesIntoAccount) {
    TempDir dir;
    auto late = openAt(dir, 23, 59, 50);
    EXPECT_EQ(GetMont(*late, 20), 86410);
    EXPECT_EQ(GetMont(*late, 0), 86390);

    const int start = 9 * 3600 + 30 * 60;
    auto cut = openAt(dir, 9, 30, 0, {{3600 * 256, 1000 * 256}});
    EXPECT_EQ(GetMont(*cut, 999), start + 999);
    EXPECT_EQ(GetMont(*cut, 1000), start + 3600);
    EXPECT_EQ(GetMont(*cut, 1200), start + 3800);
    EXPECT_EQ(GetTime(*cut, 1200.99f), start + 3800);
    EXPECT_EQ(GetTime(*cut, 9.99f), GetMont(*cut, 9));

    // A first entry of 0 ends the table: nothing later is used.
    auto ended = openAt(dir, 9, 30, 0, {{0, 0}, {3600 * 256, 10 * 256}});
    EXPECT_EQ(GetMont(*ended, 100), start + 100);

    // Two segments: the last one that starts at or before the frame applies.
    auto two = openAt(dir, 0, 0, 0, {{100 * 256, 10 * 256}, {500 * 256, 20 * 256}});
    EXPECT_EQ(GetMont(*two, 5), 5);
    EXPECT_EQ(GetMont(*two, 15), 105);
    EXPECT_EQ(GetMont(*two, 25), 505);

    // Values that cannot be whole seconds give an answer, not undefined behaviour.
    EXPECT_EQ(GetTime(*cut, std::nanf("")), GetMont(*cut, 0));
    GetTime(*cut, 1e30f);
}

TEST(TimeQueries, DateTimeUsesTheRecordingStartAndASinglePrecisionSecond) {
    TempDir dir;
    auto clock = openAt(dir, 9, 30, 0); // 3 November 2026
    Recording& rec = *clock;
    const double start = 46329.0 + (9 * 3600 + 30 * 60) / 86400.0;
    EXPECT_DOUBLE_EQ(GetDateTimeFromSeconds(rec, 0), start);
    const double day = GetDateTimeFromSeconds(rec, 86400) - start;
    EXPECT_NEAR(day, 0.99999363, 1e-8); // a little short of a whole day
    EXPECT_LT(day, 1.0);

    RecordingDescription d = fourChannels();
    d.recMonth = 2;
    d.recDay = 30;
    writeRecording(dir.file("feb30.vwr"), d);
    ASSERT_TRUE(openRecording(rec, dir.file("feb30.vwr")));
    EXPECT_TRUE(std::isnan(GetDateTimeFromSeconds(rec, 0)));
    EXPECT_EQ(daysSince1899(1899, 12, 30), 0);
    EXPECT_EQ(daysSince1899(1900, 3, 1), 61);
    EXPECT_TRUE(isValidDate(2000, 2, 29));
    EXPECT_FALSE(isValidDate(1900, 2, 29));
    EXPECT_FALSE(isValidDate(2026, 4, 31));
    EXPECT_FALSE(isValidDate(2026, 0, 1));
}

TEST(LengthQueries, TotalSecondsRoundUp) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.frames = 2561;
    OpenedRecording over(dir, d, "over.vwr");
    EXPECT_EQ(totalTrcSec(over.rec), 11);
    d.frames = 2560;
    OpenedRecording exact(dir, d, "exact.vwr");
    EXPECT_EQ(totalTrcSec(exact.rec), 10);
}

TEST(NoteQueries, PositionsInSecondsWithNegativePositionsRepaired) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.notes = {note(128, "Eyes closed"), note(-5, "Bad"), note(512, "Eyes open")};
    d.rawAreas[Area::Note] = {};
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    // An empty area: no notes at all.
    EXPECT_EQ(o.rec.noteCount, 0);
    EXPECT_EQ(GetPosNote(o.rec, 0), 0.0f);
    EXPECT_EQ(GetPosNote(o.rec, 1), 0.0f);

    d.rawAreas.clear();
    OpenedRecording n(dir, d, "notes.vwr");
    ASSERT_TRUE(n.opened);
    EXPECT_EQ(n.rec.noteCount, 200);
    EXPECT_FLOAT_EQ(GetPosNote(n.rec, 0), 0.5f);
    EXPECT_FLOAT_EQ(GetPosNote(n.rec, 1), 1.0f / 256.0f);
    EXPECT_EQ(n.rec.notes[1].sample, 1);
    EXPECT_FLOAT_EQ(GetPosNote(n.rec, 2), 2.0f);
    EXPECT_EQ(GetPosNote(n.rec, 3), 0.0f); // the end of the list
    EXPECT_EQ(GetPosNote(n.rec, -1), 0.0f);
    EXPECT_EQ(GetPosNote(n.rec, 200), 0.0f); // the end record
    EXPECT_EQ(GetPosNote(n.rec, 201), 0.0f);
}

TEST(NoteQueries, TheRecordAtNoteCountIsAnsweredFromTheTable) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.notes = {note(256, "a"), note(512, "b"), note(768, "c")};
    d.rawAreas[Area::Note] = std::vector<uint8_t>(2 * kNoteRecordSize, 0);
    d.rawAreas[Area::Note][1] = 1;                   // sample 256
    d.rawAreas[Area::Note][kNoteRecordSize + 1] = 2; // sample 512
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(o.rec.noteCount, 2);
    EXPECT_FLOAT_EQ(GetPosNote(o.rec, 1), 2.0f);
    EXPECT_EQ(GetPosNote(o.rec, 2), 0.0f); // beyond what the short area held
    EXPECT_EQ(GetPosNote(o.rec, 3), 0.0f);
}

TEST(PixelQueries, PositionsRunFromTheLabelsToTheRightEdge) {
    EXPECT_EQ(GetPixelPosition(10000, 80, 1000, 0), 80);
    EXPECT_EQ(GetPixelPosition(10000, 80, 1000, 10000), 1000);
    EXPECT_EQ(GetPixelPosition(10000, 80, 1000, 5000), 540);
    EXPECT_EQ(GetPixelPosition(10000, 80, 1000, 3333), 80 + 306); // 306.636 truncated
    EXPECT_EQ(GetPixelPosition(10000, 80, 1000, 10001), -1);
    EXPECT_EQ(GetPixelPosition(10000, 80, 1000, -1), -1);
    EXPECT_EQ(GetPixelPosition(0, 80, 1000, 0), -1);
    EXPECT_EQ(GetPixelPosition(-5, 80, 1000, 0), -1);
}

TEST(VideoQueries, TheVideoIndexMapsPositionsToFilesAndTheirStarts) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.videoFlag = true;
    d.videoDelay = 40000;
    d.videoIndex = true;
    d.videos = {{1000, 59000, 1}, {60000, 60000, 2}};
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    int32_t file = 0;
    EXPECT_EQ(GetSfasVideo(o.rec, 500, file), 1000); // before the first video: the first
    EXPECT_EQ(file, 1);
    EXPECT_EQ(GetSfasVideo(o.rec, 90000, file), 60000);
    EXPECT_EQ(file, 2);
    EXPECT_EQ(GetSfasVideo(o.rec, 60000, file), 1000); // the shared boundary: first match
    EXPECT_EQ(file, 1);
    EXPECT_EQ(GetSfasVideo(o.rec, 120000, file), 60000);
    EXPECT_EQ(GetSfasVideo(o.rec, 130000, file), -1);
    EXPECT_EQ(file, -1);
    EXPECT_FLOAT_EQ(GetNextFileVideoStart(o.rec, 1), 60000.0f);
    EXPECT_FLOAT_EQ(GetNextFileVideoStart(o.rec, 2), -1.0f);
    EXPECT_FLOAT_EQ(GetNextFileVideoStart(o.rec, 7), -1.0f);
    EXPECT_TRUE(ThereIsVideo(o.rec));
    EXPECT_EQ(GetVideoOneSfasFrame(o.rec), static_cast<int16_t>(40000));

    // A video whose end lies beyond 32 bits still covers the positions after its start.
    d.videos = {{2'000'000'000, 2'000'000'000, 5}};
    OpenedRecording huge(dir, d, "huge.vwr");
    EXPECT_EQ(GetSfasVideo(huge.rec, 2'100'000'000, file), 2'000'000'000);
    EXPECT_EQ(file, 5);

    // A fixed video start answers every position, with no file number.
    d.videoStart = 1234;
    OpenedRecording fixed(dir, d, "fixed.vwr");
    EXPECT_EQ(GetSfasVideo(fixed.rec, 99999, file), 1234);
    EXPECT_EQ(file, -1);
}

TEST(ArchivedMontageQueries, CountAndNamesComeFromAWholeMontageArea) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.montages = {montage("Bipolar", {{1, 2}}), montage("Referential  ", {{1, 0}})};
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(GetNumArchivedMontage(o.rec), 2);
    EXPECT_EQ(GetArchivedMontName(o.rec, 0), "Bipolar");
    EXPECT_EQ(GetArchivedMontName(o.rec, 1), "Referential  ");

    d.rawAreas[Area::Montage] = std::vector<uint8_t>(4096, 0);
    OpenedRecording cut(dir, d, "cut.vwr");
    ASSERT_TRUE(cut.opened);
    EXPECT_EQ(cut.rec.header.numMontages, 2);
    EXPECT_EQ(GetNumArchivedMontage(cut.rec), 0);
    EXPECT_EQ(cut.rec.header.numMontages, 0);
}

TEST(NoFileQueries, EveryQueryGivesItsNeutralAnswer) {
    Recording rec;
    int32_t file = 0;
    EXPECT_EQ(GetSurName(rec), "");
    EXPECT_EQ(GetName(rec), "");
    EXPECT_EQ(GetDateTimeFromSeconds(rec, 10), 0.0);
    EXPECT_EQ(GetMont(rec, 10), 0);
    EXPECT_EQ(GetTime(rec, 10.5f), 0);
    EXPECT_EQ(totalTrcSec(rec), 0);
    EXPECT_EQ(GetPosNote(rec, 0), 0.0f);
    EXPECT_FALSE(ThereIsVideo(rec));
    EXPECT_EQ(GetVideoOneSfasFrame(rec), 0);
    EXPECT_EQ(GetSfasVideo(rec, 1000, file), -1);
    EXPECT_EQ(file, -1);
    EXPECT_EQ(GetNextFileVideoStart(rec, 1), -1.0f);
    EXPECT_EQ(GetNumArchivedMontage(rec), 0);
    EXPECT_EQ(GetArchivedMontName(rec, 0), "");
}

} // namespace
} // namespace viewer::testing
