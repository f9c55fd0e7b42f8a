// Loading, converting and choosing montages: archived, history and all electrodes.

#include "fixtures.h"
#include "montage_recordings.h"
#include "montages.h"
#include "page_length.h"
#include "recording_queries.h"
#include "text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace viewer::testing {
namespace {

std::string description(const MontageRecord& m) {
    return std::string(fieldText(m.description.data(), m.description.size()));
}

// Opens `d` as the control does before choosing a montage.
struct Prepared : OpenedRecording {
    Prepared(const TempDir& dir, const RecordingDescription& d, const std::string& name = "m.vwr")
        : OpenedRecording(dir, d, name) {
        rec.maxPageMs = maxPageMsFor(rec.header.numChannels, rec.header.rate);
    }
};

TEST(ConvertMontage, ComputesColoursAndPageLengthOfUnconvertedRecords) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    MontageRecord m = montage("Colours", {{1, 2}, {2, 3}, {1, 3}, {3, 0}, {2, 0}});
    m.baseTime = 15;
    m.colourCode = {};
    const uint8_t codes[] = {0, 7, 15, 16, 200};
    std::copy(std::begin(codes), std::end(codes), m.colourCode.begin());
    d.montages = {m};
    Prepared o(dir, d);
    ASSERT_TRUE(o.opened);
    ASSERT_TRUE(LoadArchivedMontage(o.rec, 0));
    const MontageRecord& c = o.rec.currentMontage;
    EXPECT_EQ(c.converted, 1);
    EXPECT_EQ(c.pageMs, 15000);
    EXPECT_EQ(o.rec.samplesPerPage, 15u * 256u);
    EXPECT_EQ(c.colourIndex[0], 4);
    EXPECT_EQ(c.colourIndex[1], 2);
    EXPECT_EQ(c.colourIndex[2], 0);
    EXPECT_EQ(c.colourIndex[3], 5); // unknown colour codes take black
    EXPECT_EQ(c.colourIndex[4], 5);
    EXPECT_EQ(description(c), "Colours");
}

TEST(ConvertMontage, KeepsConvertedRecordsAndMendsTheirValues) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    MontageRecord kept = montage("Kept", {{1, 2}, {2, 3}});
    kept.converted = 1;
    kept.pageMs = 7000;
    kept.baseTime = 15;
    kept.colourIndex[0] = 30;
    kept.colourIndex[1] = 48; // outside the 48-colour palette
    MontageRecord negative = kept;
    negative.pageMs = -20;
    MontageRecord tooMany = montage("Many", {{1, 2}});
    tooMany.numLines = 200;
    d.montages = {kept, negative, tooMany};
    Prepared o(dir, d);
    ASSERT_TRUE(o.opened);

    ASSERT_TRUE(LoadArchivedMontage(o.rec, 0));
    EXPECT_EQ(o.rec.currentMontage.pageMs, 7000);
    EXPECT_EQ(o.rec.samplesPerPage, 7u * 256u);
    EXPECT_EQ(o.rec.currentMontage.colourIndex[0], 30);
    EXPECT_EQ(o.rec.currentMontage.colourIndex[1], 5);

    ASSERT_TRUE(LoadArchivedMontage(o.rec, 1));
    EXPECT_EQ(o.rec.currentMontage.pageMs, 10000);

    ASSERT_TRUE(LoadArchivedMontage(o.rec, 2));
    EXPECT_EQ(o.rec.currentMontage.numLines, kMaxLines);
}

TEST(ConvertMontage, CapsThePageAtMaxPageMsAndAtThePageBuffer) {
    TempDir dir;
    // 128 channels at 2048 frames per second: the buffer holds 5 whole seconds.
    RecordingDescription wide;
    wide.rate = 2048;
    for (uint16_t c = 1; c <= 128; ++c) {
        wide.order.push_back(c);
        wide.electrodes[c] = eegElectrode(numberedLabel("E", c));
    }
    wide.frames = 16;
    wide.montages = {montage("Ten seconds", {{1, 2}})};
    Prepared w(dir, wide, "wide.vwr");
    ASSERT_TRUE(w.opened);
    EXPECT_EQ(w.rec.maxPageMs, 5000);
    ASSERT_TRUE(LoadArchivedMontage(w.rec, 0));
    EXPECT_EQ(w.rec.currentMontage.pageMs, 5000);
    EXPECT_EQ(w.rec.samplesPerPage, 10240u);

    // One channel at 32 frames per second: the whole seconds (40960) overflow 16 bits and
    // maxPageMs comes out negative, so it caps nothing; the buffer still does.
    RecordingDescription narrow;
    narrow.rate = 32;
    narrow.order = {1};
    narrow.electrodes[1] = eegElectrode("Fp1");
    narrow.frames = 64;
    MontageRecord huge = montage("Huge", {{1, 0}});
    huge.converted = 1;
    huge.pageMs = std::numeric_limits<int32_t>::max();
    narrow.montages = {montage("Ten seconds", {{1, 0}}), huge};
    Prepared n(dir, narrow, "narrow.vwr");
    ASSERT_TRUE(n.opened);
    EXPECT_LT(n.rec.maxPageMs, 0);
    ASSERT_TRUE(LoadArchivedMontage(n.rec, 0));
    EXPECT_EQ(n.rec.currentMontage.pageMs, 10000);
    EXPECT_EQ(n.rec.samplesPerPage, 320u);
    ASSERT_TRUE(LoadArchivedMontage(n.rec, 1));
    EXPECT_EQ(n.rec.samplesPerPage, static_cast<uint32_t>(kPageBufferValues));
    EXPECT_EQ(n.rec.currentMontage.pageMs, 40960000);
}

TEST(PageLength, FollowsTheSecondsAskedForWithinTheLimits) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.order.resize(32, 0); // 32 channels at 256 frames per second: maxPageMs 160000
    Prepared o(dir, d);
    ASSERT_TRUE(o.opened);
    ASSERT_EQ(o.rec.maxPageMs, 160000);
    EXPECT_FLOAT_EQ(applyPageSeconds(o.rec, 1000.0f), 160.0f);
    EXPECT_EQ(o.rec.samplesPerPage, 160u * 256u);
    EXPECT_FLOAT_EQ(applyPageSeconds(o.rec, 2.5f), 2.5f);
    EXPECT_EQ(o.rec.samplesPerPage, 640u);
    EXPECT_FLOAT_EQ(applyPageSeconds(o.rec, 0.7f), 0.7f);
    EXPECT_EQ(o.rec.currentMontage.pageMs, 700);

    // Lengths that make no page hold nothing rather than more than the buffer.
    for (float bad : {-5.0f, -0.0001f, std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_EQ(applyPageSeconds(o.rec, bad), 0.0f) << bad;
        EXPECT_EQ(o.rec.samplesPerPage, 0u) << bad;
    }
    EXPECT_FLOAT_EQ(applyPageSeconds(o.rec, std::numeric_limits<float>::infinity()), 160.0f);
    EXPECT_FLOAT_EQ(applyPageSeconds(o.rec, 1e30f), 160.0f);

    // A cap that came out wrong (here: far above what the buffer holds) is not trusted.
    o.rec.maxPageMs = std::numeric_limits<int32_t>::max();
    applyPageSeconds(o.rec, 1e30f);
    EXPECT_LE(static_cast<int64_t>(o.rec.samplesPerPage) * 32, kPageBufferValues);
    EXPECT_EQ(o.rec.samplesPerPage, static_cast<uint32_t>(kPageBufferValues / 32));
}

TEST(ArchivedMontages, AreLoadedAndNamedOnlyInsideTheArea) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.numMontages = 50; // more than the area's 30 records
    Prepared o(dir, d);
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(queries::GetNumArchivedMontage(o.rec), 30);
    EXPECT_EQ(queries::GetArchivedMontName(o.rec, 1), "Referential");
    EXPECT_EQ(queries::GetArchivedMontName(o.rec, 29), "");
    EXPECT_EQ(queries::GetArchivedMontName(o.rec, 30), "");
    EXPECT_EQ(queries::GetArchivedMontName(o.rec, -1), "");
    EXPECT_EQ(queries::GetArchivedMontName(o.rec, 32767), "");

    ASSERT_TRUE(LoadArchivedMontage(o.rec, 2));
    EXPECT_EQ(description(o.rec.currentMontage), "Mixed");
    EXPECT_FALSE(LoadArchivedMontage(o.rec, 30));
    EXPECT_FALSE(LoadArchivedMontage(o.rec, -1));
    EXPECT_EQ(description(o.rec.currentMontage), "Mixed");
}

TEST(ArchivedMontages, AnAreaOfTheWrongLengthOffersNone) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.rawAreas[Area::Montage] = std::vector<uint8_t>(100000, 0);
    Prepared o(dir, d);
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(queries::GetNumArchivedMontage(o.rec), 0);
    EXPECT_EQ(o.rec.header.numMontages, 0);
    EXPECT_EQ(queries::GetArchivedMontName(o.rec, 0), "");
    EXPECT_FALSE(LoadArchivedMontage(o.rec, 0));
}

TEST(HistoryMontages, TheSearchFindsTheMontageOfThePage) {
    Recording rec;
    const int32_t points[] = {0, 5000, 9000, -1};
    std::copy(std::begin(points), std::end(points), rec.historySamples.begin());
    EXPECT_EQ(historyMontageFor(rec, 0), 0);
    EXPECT_EQ(historyMontageFor(rec, 5000), 0); // exactly on a change point: the one before
    EXPECT_EQ(historyMontageFor(rec, 5500), 1);
    EXPECT_EQ(historyMontageFor(rec, 9000), 1);
    EXPECT_EQ(historyMontageFor(rec, 10000), 2);
    EXPECT_EQ(historyMontageFor(rec, 4000000000u), 2);

    rec.historySamples.fill(-1);
    EXPECT_EQ(historyMontageFor(rec, 10000), -1);

    // More change points than montages used: the search stops at 30.
    for (int i = 0; i < kHistoryPoints; ++i) {
        rec.historySamples[i] = i * 100;
    }
    EXPECT_EQ(historyMontageFor(rec, 1000000), kHistoryMontagesUsed);
}

TEST(HistoryMontages, ARecordPastTheEndOfTheAreaIsNotLoaded) {
    TempDir dir;
    // Three change points but only two montage records stored.
    RecordingDescription d = historyRecording({0, 5000, 9000});
    d.historyMontages.pop_back();
    Prepared o(dir, d);
    ASSERT_TRUE(o.opened);
    o.rec.historyIndex = 1;
    ASSERT_TRUE(LoadHistoryMontage(o.rec));
    EXPECT_EQ(description(o.rec.currentMontage), "History 1");
    EXPECT_EQ(o.rec.currentMontage.numLines, 2);
    o.rec.historyIndex = 2;
    EXPECT_FALSE(LoadHistoryMontage(o.rec));
    EXPECT_EQ(description(o.rec.currentMontage), "History 1");
    o.rec.historyIndex = -1;
    EXPECT_FALSE(LoadHistoryMontage(o.rec));
}

TEST(AllElectrodes, OneBlackLineAgainstEachRecordedChannel) {
    TempDir dir;
    Prepared o(dir, montageRecording());
    ASSERT_TRUE(o.opened);
    o.rec.currentMontage.notch = 2;
    o.rec.currentMontage.refMode = 1;
    loadAllElectrodesMontage(o.rec);
    const MontageRecord& m = o.rec.currentMontage;
    ASSERT_EQ(m.numLines, 4);
    EXPECT_EQ(description(m), "All recorded electrodes");
    EXPECT_EQ(m.notch, 0);
    EXPECT_EQ(m.refMode, 0);
    EXPECT_EQ(m.pageMs, 10000);
    EXPECT_EQ(o.rec.samplesPerPage, 2560u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(m.inputA[i], 0);
        EXPECT_EQ(m.inputB[i], o.rec.orderTable[i]);
        EXPECT_EQ(m.colourIndex[i], 5);
        EXPECT_EQ(m.gain[i], 200);
        EXPECT_EQ(m.highPass[i], 0u);
        EXPECT_EQ(m.lowPass[i], 100000u);
        EXPECT_EQ(m.selected[i], 0);
    }

    // 130 channels give 128 lines, and a page shorter than 10 s when the buffer is smaller.
    RecordingDescription wide;
    wide.rate = 2048;
    for (uint16_t c = 1; c <= 130; ++c) {
        wide.order.push_back(c);
        wide.electrodes[c] = eegElectrode("E");
    }
    wide.frames = 16;
    Prepared w(dir, wide, "wide.vwr");
    ASSERT_TRUE(w.opened);
    loadAllElectrodesMontage(w.rec);
    EXPECT_EQ(w.rec.currentMontage.numLines, kMaxLines);
    EXPECT_EQ(w.rec.currentMontage.pageMs, 4000);
    EXPECT_LE(static_cast<int64_t>(w.rec.samplesPerPage) * 130, kPageBufferValues);
}

} // namespace
} // namespace viewer::testing
