// The notes reported for a page, and what the walk leaves in the table.

#include "fixtures.h"
#include "montage_lines.h"
#include "page_notes.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

TEST(PageNotes, ReportsNotesInsideThePageAndStopsAfterOneBeyondIt) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.notes = {note(100, "before"),        note(1000, "first"),
               note(-7, "repaired"),       note(1500, std::string(45, 'x')),
               note(3560, "at the end"),   note(3561, "beyond"),
               note(2000, "never reached")};
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    Recording& r = o.rec;
    r.pageStart = 1000;
    r.samplesPerPage = 2560;
    const std::vector<PageNote> notes = notesOnPage(r, 100, 900);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].numNota, 0);
    EXPECT_EQ(notes[0].posPix, 100);
    EXPECT_EQ(notes[0].text, "first");
    EXPECT_EQ(notes[1].numNota, 1);
    EXPECT_EQ(notes[1].posPix, 100 + 900 * 500 / 2560);
    EXPECT_EQ(notes[1].text, std::string(39, 'x'));
    EXPECT_EQ(r.notes[3].text[39], '\0'); // the table keeps the cut

    EXPECT_EQ(r.notes[2].sample, 1); // repaired as the walk passed it
}

TEST(PageNotes, ANoteAtThePageEndIsPassedOverAndTheWalkGoesOn) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.notes = {note(-3, "negative"), note(50, "inside"), note(100, "at the end"),
               note(101, "beyond"), note(60, "unsorted")};
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    o.rec.samplesPerPage = 100;
    const std::vector<PageNote> notes = notesOnPage(o.rec, 0, 1000);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].text, "negative");
    EXPECT_EQ(notes[0].posPix, 10);
    EXPECT_EQ(o.rec.notes[0].sample, 1);
    EXPECT_EQ(notes[1].text, "inside");
    EXPECT_EQ(notes[1].posPix, 500);
}

TEST(PageNotes, WalkEndsAtNoteCountAndAtAnEmptyRecord) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.notes = {note(10, "a"), note(20, "b"), note(30, "c")};
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    o.rec.samplesPerPage = 256;
    EXPECT_EQ(notesOnPage(o.rec, 0, 256).size(), 3u);
    o.rec.noteCount = 2;
    EXPECT_EQ(notesOnPage(o.rec, 0, 256).size(), 2u);
    o.rec.noteCount = 1000; // as before any file: the table's 200 records at most
    o.rec.notes[1].sample = 0;
    EXPECT_EQ(notesOnPage(o.rec, 0, 256).size(), 1u);
}

TEST(MontageLines, LabelsEegLinesAndThePrevailingSettings) {
    TempDir dir;
    RecordingDescription d = fourChannels();
    d.order.push_back(167);
    d.electrodes[167] = polygraphicElectrode("ECG1+", "ECG1-", 3200);
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    MontageRecord& m = o.rec.currentMontage;
    m = montage("test", {{1, 2}, {14, 0}, {167, 0}, {0, 167}, {2, 15}, {700, 1}});
    EXPECT_EQ(lineLabel(o.rec, 0), "Fp2 Fp1");
    EXPECT_EQ(lineLabel(o.rec, 1), " O1");
    EXPECT_EQ(lineLabel(o.rec, 2), "ECG1- ECG1+");
    EXPECT_EQ(lineLabel(o.rec, 3), "ECG1+ ECG1-");
    EXPECT_EQ(lineLabel(o.rec, 5), "Fp1 "); // an input beyond the table has no label
    EXPECT_TRUE(isEegLine(o.rec, 0));
    EXPECT_FALSE(isEegLine(o.rec, 2));
    EXPECT_FALSE(isEegLine(o.rec, 3));
    EXPECT_TRUE(isEegLine(o.rec, 5));

    // High-pass 530, 160, 160, 530, 530 over the EEG lines: 530 prevails.
    const uint32_t highPass[] = {530, 160, 530, 530, 160, 530};
    for (int i = 0; i < 6; ++i) {
        m.highPass[i] = highPass[i];
    }
    m.highPass[2] = 1; // a polygraphic line never counts and never gets a marker
    std::vector<bool> off = linesOffPrevailingSettings(o.rec);
    EXPECT_EQ(off, (std::vector<bool>{false, true, false, false, true, false}));

    for (int i = 0; i < 6; ++i) {
        m.gain[i] = 10 * (i + 1); // all distinct: line 0 is the reference
    }
    off = linesOffPrevailingSettings(o.rec);
    EXPECT_EQ(off, (std::vector<bool>{false, true, false, false, true, true}));

    EXPECT_STREQ(referenceName(2), "A1+A2");
    EXPECT_EQ(referenceName(4), nullptr);
}

} // namespace
} // namespace viewer::testing
