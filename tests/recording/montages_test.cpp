// Loading, converting and choosing montages (archived, history, all electrodes), the page
// length they bring, and reading a page of frames.

#include "fixtures.h"
#include "montage_recordings.h"
#include "montages.h"
#include "page_loading.h"
#include "recording_queries.h"

#include <gtest/gtest.h>

#include <limits>

namespace viewer::testing {
namespace {

// `channels` EEG channels at `rate` frames per second, 16 frames.
RecordingDescription wide(uint16_t channels, uint16_t rate) {
    RecordingDescription d;
    d.rate = rate;
    for (uint16_t c = 1; c <= channels; ++c) {
        d.order.push_back(c);
        d.electrodes[c] = eegElectrode(numberedLabel("E", c));
    }
    d.frames = 16;
    return d;
}

TEST(ConvertMontage, ComputesColoursAndPageLengthOrKeepsAndMendsConvertedRecords) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    MontageRecord m = montage("Colours", {{1, 2}, {2, 3}, {1, 3}, {3, 0}, {2, 0}});
    m.baseTime = 15;
    const uint8_t codes[] = {0, 7, 15, 16, 200}; // unknown colour codes take black
    std::copy(std::begin(codes), std::end(codes), m.colourCode.begin());
    MontageRecord kept = montage("Kept", {{1, 2}, {2, 3}});
    kept.converted = 1;
    kept.pageMs = 7000;
    kept.colourIndex[0] = 30;
    kept.colourIndex[1] = 48; // outside the 48-colour palette
    MontageRecord negative = kept;
    negative.pageMs = -20;
    MontageRecord tooMany = montage("Many", {{1, 2}});
    tooMany.numLines = 200;
    d.montages = {m, kept, negative, tooMany};
    OpenedRecording o(dir, d);
    const MontageRecord& c = o.rec.currentMontage;
    // Montage; converted, page length, frames per page, lines, first five colours.
    const Values want[] = {{1, 15000, 15 * 256, 5, 4, 2, 0, 5, 5},
                           {1, 7000, 7 * 256, 2, 30, 5, 0, 0, 0},
                           {1, 10000, 10 * 256, 2, 30, 5, 0, 0, 0},
                           {1, 10000, 10 * 256, kMaxLines, 4, 4, 4, 4, 4}};
    for (int k = 0; k < 4; ++k) {
        ASSERT_TRUE(LoadArchivedMontage(o.rec, k));
        Values got = {c.converted, c.pageMs, o.rec.samplesPerPage, c.numLines};
        got.insert(got.end(), c.colourIndex.begin(), c.colourIndex.begin() + 5);
        EXPECT_EQ(got, want[k]) << k;
    }
}

TEST(ConvertMontage, CapsThePageAtMaxPageMsAndAtThePageBuffer) {
    TempDir dir;
    // 128 channels at 2048 frames per second: the buffer holds 5 whole seconds.
    RecordingDescription many = wide(128, 2048);
    many.montages = {montage("Ten seconds", {{1, 2}})};
    OpenedRecording w(dir, many, "wide.vwr");
    ASSERT_TRUE(LoadArchivedMontage(w.rec, 0));
    EXPECT_EQ((Values{w.rec.currentMontage.pageMs, w.rec.samplesPerPage}), (Values{5000, 10240}));

    // One channel at 32 frames per second: the whole seconds (40960) overflow 16 bits and
    // maxPageMs comes out negative, so it caps nothing; the buffer still does.
    RecordingDescription narrow = wide(1, 32);
    MontageRecord huge = montage("Huge", {{1, 0}});
    huge.converted = 1;
    huge.pageMs = std::numeric_limits<int32_t>::max();
    narrow.montages = {montage("Ten seconds", {{1, 0}}), huge};
    OpenedRecording n(dir, narrow, "narrow.vwr");
    ASSERT_TRUE(LoadArchivedMontage(n.rec, 0));
    EXPECT_EQ(n.rec.samplesPerPage, 320u);
    ASSERT_TRUE(LoadArchivedMontage(n.rec, 1));
    EXPECT_EQ((Values{n.rec.currentMontage.pageMs, n.rec.samplesPerPage}),
              (Values{40960000, kPageBufferValues}));
}

TEST(PageLength, FollowsTheSecondsAskedForWithinTheLimits) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.order.resize(32, 0); // 32 channels at 256 frames per second: maxPageMs 160000
    OpenedRecording o(dir, d);
    // Seconds asked for; seconds and frames in force. Lengths that make no page hold nothing.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::tuple<float, float, uint32_t> cases[] = {
        {1000.0f, 160.0f, 40960}, {2.5f, 2.5f, 640}, {0.7f, 0.7f, 179},    {-5.0f, 0.0f, 0},
        {-0.0001f, 0.0f, 0},      {nan, 0.0f, 0},    {inf, 160.0f, 40960}, {1e30f, 160.0f, 40960}};
    for (const auto& [asked, seconds, frames] : cases) {
        EXPECT_FLOAT_EQ(applyPageSeconds(o.rec, asked), seconds) << asked;
        EXPECT_EQ(o.rec.samplesPerPage, frames) << asked;
    }
    // A cap that came out wrong (here: far above what the buffer holds) is not trusted.
    o.rec.maxPageMs = std::numeric_limits<int32_t>::max();
    applyPageSeconds(o.rec, 1e30f);
    EXPECT_EQ(o.rec.samplesPerPage, static_cast<uint32_t>(kPageBufferValues / 32));
}

TEST(ArchivedMontages, AreCountedNamedAndLoadedOnlyInsideAWholeArea) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.montages[1] = named(d.montages[1], "Referential  ");
    d.numMontages = 50; // more than the area's 30 records
    OpenedRecording o(dir, d);
    EXPECT_EQ(queries::GetNumArchivedMontage(o.rec), 30);
    const std::pair<int16_t, const char*> names[] = {
        {0, "Bipolar"}, {1, "Referential  "}, {29, ""}, {30, ""}, {-1, ""}, {32767, ""}};
    for (const auto& [k, name] : names) {
        EXPECT_EQ(queries::GetArchivedMontName(o.rec, k), name) << k;
    }
    ASSERT_TRUE(LoadArchivedMontage(o.rec, 2));
    EXPECT_FALSE(LoadArchivedMontage(o.rec, 30));
    EXPECT_FALSE(LoadArchivedMontage(o.rec, -1));
    EXPECT_EQ(text(o.rec.currentMontage.description), "Mixed");

    // An area of any other length offers none, in generation 3 as in 4; generation 2 has
    // no montages.
    for (uint8_t type : {4, 3}) {
        for (size_t bytes : {4096, 100000}) {
            d.headerType = type;
            d.rawAreas[Area::Montage] = std::vector<uint8_t>(bytes, 0);
            OpenedRecording odd(dir, d, "odd.vwr");
            ASSERT_TRUE(odd.opened);
            EXPECT_EQ((Values{queries::GetNumArchivedMontage(odd.rec), odd.rec.header.numMontages}),
                      (Values{0, 0}))
                << bytes << " " << int(type);
            EXPECT_EQ(queries::GetArchivedMontName(odd.rec, 0), "");
            EXPECT_FALSE(LoadArchivedMontage(odd.rec, 0));
        }
    }
    d.numMontages.reset();
    d.rawAreas[Area::Montage] = std::vector<uint8_t>(122880, 0); // 30 records of 4096 bytes
    OpenedRecording whole(dir, d);
    EXPECT_EQ(queries::GetNumArchivedMontage(whole.rec), 3);
    d.rawAreas.clear();
    d.headerType = 2;
    OpenedRecording two(dir, d);
    EXPECT_EQ(queries::GetNumArchivedMontage(two.rec), 0);
}

TEST(HistoryMontages, TheMontageOfEachPageIsFoundAndLoadedFromTheArea) {
    Recording rec;
    const int32_t points[] = {0, 5000, 9000, -1};
    std::copy(std::begin(points), std::end(points), rec.historySamples.begin());
    // Exactly on a change point: the montage before it.
    const std::pair<uint32_t, int> pages[] = {{0, 0},    {5000, 0},  {5500, 1},
                                              {9000, 1}, {10000, 2}, {4000000000u, 2}};
    for (const auto& [start, k] : pages) {
        EXPECT_EQ(historyMontageFor(rec, start), k) << start;
    }
    rec.historySamples.fill(-1);
    EXPECT_EQ(historyMontageFor(rec, 10000), -1);
    for (int i = 0; i < kHistoryPoints; ++i) { // more change points than montages used
        rec.historySamples[i] = i * 100;
    }
    EXPECT_EQ(historyMontageFor(rec, 1000000), kHistoryMontagesUsed);

    // Three change points but only two montage records stored, in generations 4 and 3.
    TempDir dir;
    for (uint8_t type : {4, 3}) {
        RecordingDescription d = historyRecording({0, 5000, 9000});
        d.historyMontages.pop_back();
        d.headerType = type;
        OpenedRecording o(dir, d);
        ASSERT_TRUE(o.opened && o.rec.historyPresent);
        EXPECT_EQ(o.rec.historySamples[1], 5000);
        o.rec.historyIndex = 1;
        ASSERT_TRUE(LoadHistoryMontage(o.rec));
        EXPECT_EQ(o.rec.currentMontage.numLines, 2);
        for (int32_t index : {2, -1}) {
            o.rec.historyIndex = index;
            EXPECT_FALSE(LoadHistoryMontage(o.rec));
        }
        EXPECT_EQ(text(o.rec.currentMontage.description), "History 1");
    }
}

TEST(AllElectrodes, OneBlackLineAgainstEachRecordedChannel) {
    TempDir dir;
    OpenedRecording o(dir, montageRecording());
    o.rec.currentMontage.notch = 2;
    o.rec.currentMontage.refMode = 1;
    loadAllElectrodesMontage(o.rec);
    const MontageRecord& m = o.rec.currentMontage;
    EXPECT_EQ(text(m.description), "All recorded electrodes");
    EXPECT_EQ((Values{m.numLines, m.notch, m.refMode, m.pageMs, o.rec.samplesPerPage}),
              (Values{4, 0, 0, 10000, 2560}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ((Values{m.inputA[i], m.inputB[i], m.colourIndex[i], m.gain[i], m.highPass[i],
                          m.lowPass[i], m.selected[i]}),
                  (Values{0, o.rec.orderTable[i], 5, 200, 0, 100000, 0}));
    }
    // 130 channels give 128 lines, and a page shorter than 10 s when the buffer is smaller.
    OpenedRecording w(dir, wide(130, 2048), "wide.vwr");
    loadAllElectrodesMontage(w.rec);
    EXPECT_EQ((Values{w.rec.currentMontage.numLines, w.rec.currentMontage.pageMs}),
              (Values{kMaxLines, 4000}));
}

TEST(LoadPage, WidensEachSampleWidth) {
    TempDir dir;
    const auto narrow = [](int64_t f, int c) {
        return int32_t(c == 0 ? -1 : c == 1 ? 0x80 + f : 0x7F);
    };
    const auto four = [](int64_t f, int c) {
        return int32_t(c == 0 ? -5 - f : c == 1 ? 0x7FFFFFFF : 70000);
    };
    // Width, samples; channels 0 to 2 of frames 0 and 49 of a page at frame 10.
    const std::tuple<uint16_t, std::function<int32_t(int64_t, int)>, Values> cases[] = {
        {1, narrow, {255, 0x8A, 0x7F, 255, 0x80 + 59, 0x7F}}, // unsigned bytes
        {2, narrow, {65535, 0x8A, 0x7F, 65535, 0x80 + 59, 0x7F}},
        {4, four, {-15, 0x7FFFFFFF, 70000, -64, 0x7FFFFFFF, 70000}}};
    for (const auto& [width, sample, want] : cases) {
        RecordingDescription d = montageRecording(100, 2);
        d.bytesPerSample = width;
        d.sample = sample;
        OpenedRecording o(dir, d);
        ASSERT_TRUE(LoadPage(o.rec, 10, 50));
        EXPECT_EQ(
            (Values{o.at(0, 0), o.at(0, 1), o.at(0, 2), o.at(49, 0), o.at(49, 1), o.at(49, 2)}),
            want)
            << width;
    }
}

TEST(LoadPage, ReadsTheMissingFramesAtTheEndAsTheZeroLevelAndNeverPastTheBuffer) {
    TempDir dir;
    RecordingDescription d = montageRecording(100, 2);
    d.frames = 1050; // 10.5 pages of 100 frames
    d.electrodes[0] = eegElectrode("G2");
    d.electrodes[0].logicGround = 0x12345; // cut to the 2-byte sample width
    OpenedRecording o(dir, d);
    EXPECT_TRUE(LoadPage(o.rec, 900, 100));
    EXPECT_EQ(o.at(99, 0), 1000 + 999 % 500);
    EXPECT_FALSE(LoadPage(o.rec, 1000, 100));
    EXPECT_EQ((Values{o.at(0, 0), o.at(49, 3), o.at(50, 0), o.at(99, 3)}),
              (Values{1000 + 1000 % 500, 4000 + 1049 % 500, 0x2345, 0x2345}));

    // A page starting past the end leaves the buffer alone.
    const std::vector<int32_t> before(o.rec.pageBuffer.begin(), o.rec.pageBuffer.begin() + 400);
    EXPECT_FALSE(LoadPage(o.rec, 1050, 100));
    EXPECT_FALSE(LoadPage(o.rec, 4000000000u, 100));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), o.rec.pageBuffer.begin()));

    EXPECT_FALSE(LoadPage(o.rec, 0, 0xFFFFFFFFu));
    EXPECT_EQ(o.rec.pageBuffer.size(), static_cast<size_t>(kPageBufferValues));
    EXPECT_EQ(o.at(199, 0), 1000 + 199);
    Recording closed;
    EXPECT_FALSE(LoadPage(closed, 0, 10));
    // The page is re-referenced as it is read: the average of frame 999 (1499, 2499, 3499)
    // less the first EEG channel's zero level (32768) comes off channel 0.
    o.rec.currentMontage.refMode = 1;
    ASSERT_TRUE(LoadPage(o.rec, 900, 100));
    EXPECT_EQ(o.at(99, 0), 1499 - 2499 + 32768);
}

} // namespace
} // namespace viewer::testing
