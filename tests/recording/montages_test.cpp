// Montages (archived, history, all electrodes) and their lines: derivation records, line
// values, re-referenced frames, gains and filters, the page length and reading a page.

#include "derivations.h"
#include "fixtures.h"
#include "line_settings.h"
#include "montage_recordings.h"
#include "montages.h"
#include "page_loading.h"
#include "recording_queries.h"
#include "references.h"

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

TEST(PageLength, IsCappedAtMaxPageMsAndAtThePageBufferAndNeedsANumber) {
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

    // Seconds asked for of 32 channels at 256 per second (maxPageMs 160000); seconds and
    // frames in force. Lengths that make no page hold nothing.
    RecordingDescription d = montageRecording();
    d.order.resize(32, 0);
    OpenedRecording o(dir, d);
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
    for (const auto& [type, bytes] : {std::pair<uint8_t, size_t>{4, 4096}, {3, 100000}}) {
        d.headerType = type;
        d.rawAreas[Area::Montage] = std::vector<uint8_t>(bytes, 0);
        OpenedRecording odd(dir, d, "odd.vwr");
        EXPECT_EQ((Values{odd.opened, queries::GetNumArchivedMontage(odd.rec),
                          odd.rec.header.numMontages, LoadArchivedMontage(odd.rec, 0)}),
                  (Values{1, 0, 0, 0}))
            << bytes;
        EXPECT_EQ(queries::GetArchivedMontName(odd.rec, 0), "");
    }
    d.numMontages.reset();
    d.rawAreas[Area::Montage] = std::vector<uint8_t>(122880, 0); // 30 records of 4096 bytes
    OpenedRecording whole(dir, d);
    d.rawAreas.clear();
    d.headerType = 2;
    OpenedRecording two(dir, d, "two.vwr");
    EXPECT_EQ((Values{queries::GetNumArchivedMontage(whole.rec),
                      queries::GetNumArchivedMontage(two.rec)}),
              (Values{3, 0}));
}

TEST(HistoryMontages, TheMontageOfEachPageIsFoundAndLoadedFromTheArea) {
    Recording rec;
    const int32_t points[] = {0, 5000, 9000, -1};
    std::copy(std::begin(points), std::end(points), rec.historySamples.begin());
    // Exactly on a change point: the montage before it.
    for (const auto& [start, k] :
         {std::pair<uint32_t, int>{5000, 0}, {5500, 1}, {4000000000u, 2}}) {
        EXPECT_EQ(historyMontageFor(rec, start), k) << start;
    }
    rec.historySamples.fill(-1);
    EXPECT_EQ(historyMontageFor(rec, 10000), -1);
    for (int i = 0; i < kHistoryPoints; ++i) { // more change points than montages used
        rec.historySamples[i] = i * 100;
    }
    EXPECT_EQ(historyMontageFor(rec, 1000000), kHistoryMontagesUsed);
    // Three change points but only two montage records stored.
    TempDir dir;
    RecordingDescription d = historyRecording({0, 5000, 9000});
    d.historyMontages.pop_back();
    d.headerType = 3;
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened && o.rec.historyPresent);
    for (int32_t index : {1, 2, -1}) {
        o.rec.historyIndex = index;
        EXPECT_EQ(LoadHistoryMontage(o.rec), index == 1) << index;
    }
    EXPECT_EQ(text(o.rec.currentMontage.description), "History 1");
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

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(BuildDerivations, GivesEachLineItsKindChannelsAndCalibration) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.electrodes[3].logicGround = 100; // F3 on channel 2
    d.electrodes[3].logicMin = 7;
    d.electrodes[3].unit = 1;
    d.order.push_back(700); // channel 4 carries a code no electrode record has
    d.montages.push_back(montage("Outside", {{1, 700}, {640, 0}, {0, 65535}, {3, 1}}));
    OpenedRecording o(dir, d);
    const auto& r = o.rec.derivations;
    const auto lines = [&](int k) {
        EXPECT_TRUE(LoadArchivedMontage(o.rec, k));
        buildDerivationRecords(o.rec);
        Values v;
        for (int i = 0; i < 6; ++i) { // a line past numLines is no input
            v.insert(v.end(),
                     {r[i].kind,
                      r[i].kind == kBothInputs || r[i].kind == kInputAOnly ? r[i].channelA : -1,
                      r[i].kind == kBothInputs || r[i].kind == kInputBOnly ? r[i].channelB : -1});
        }
        return v;
    };
    // (0,0) (1,0) (0,2) (1,3) (1,9): electrode 9 is not acquired; inputB's calibration wins.
    EXPECT_EQ(lines(2), (Values{kNoInput, -1, -1, kInputAOnly, 0, -1, kInputBOnly, -1, 1,
                                kBothInputs, 0, 2, kUnavailable, -1, -1, kNoInput, -1, -1}));
    EXPECT_EQ((Values{r[1].logicGround, r[3].logicGround, r[3].logicMin, r[3].unit}),
              (Values{32768, 100, 7, 1}));
    // Codes outside the electrode table make no position and no line.
    EXPECT_EQ(lines(3), (Values{kUnavailable, -1, -1, kUnavailable, -1, -1, kUnavailable, -1, -1,
                                kBothInputs, 2, 0, kNoInput, -1, -1, kNoInput, -1, -1}));

    Recording closed; // without a file nothing is built
    closed.currentMontage = montage("No file", {{1, 2}});
    closed.derivations[0].kind = kUnavailable;
    buildDerivationRecords(closed);
    EXPECT_EQ(closed.derivations[0].kind, kUnavailable);
}

TEST(LineValue, NeverOverflowsAndScalesEveryUnit) {
    const int32_t extremes[] = {kMax, kMin}; // 32-bit samples at the ends of their range
    DerivationRecord r;
    r.channelA = 0, r.channelB = 1, r.kind = kBothInputs;
    EXPECT_EQ(lineValue(r, extremes), 4294967295LL);
    r.kind = kInputBOnly, r.logicGround = kMax;
    EXPECT_EQ(lineValue(r, extremes), 4294967295LL);

    // Scales in microvolts per step for every unit (7 is unknown: microvolts), finite for any
    // range.
    r.physicalMax = 3200, r.physicalMin = -3200, r.logicMax = 65535, r.logicMin = 0;
    for (const auto& [unit, factor] : {std::pair<int16_t, double>{2, 1e6}, {-1, 1e-3}, {7, 1.0}}) {
        r.unit = unit;
        EXPECT_DOUBLE_EQ(lineScale(r), 6400.0 / 65536.0 * factor) << unit;
    }
    r.logicMax = -1; // a logic range of no steps, then ranges beyond 32 bits
    EXPECT_EQ(lineScale(r), 0.0);
    r.physicalMax = r.logicMax = kMax;
    r.physicalMin = r.logicMin = kMin;
    EXPECT_NEAR(lineScale(r), 1.0, 1e-9);
}

// A recording in memory whose channels carry `codes` (EEG electrodes) with reference `mode`.
struct InMemory {
    Recording rec;
    InMemory(const std::vector<uint16_t>& codes, uint8_t mode) {
        rec.header.numChannels = static_cast<uint16_t>(codes.size());
        for (size_t c = 0; c < codes.size(); ++c) {
            rec.orderTable[c] = codes[c];
            if (codes[c] < kElectrodeCount) {
                rec.electrodes[codes[c]] = eegElectrode("E");
            }
        }
        rec.pageBuffer.assign(kPageBufferValues, 0);
        rec.currentMontage.refMode = mode;
    }
    // The frames `frames` (one after the other) after re-referencing.
    std::vector<int32_t> apply(const std::vector<int32_t>& frames) {
        std::copy(frames.begin(), frames.end(), rec.pageBuffer.begin());
        applyReference(rec, static_cast<uint32_t>(frames.size() / rec.header.numChannels));
        return {rec.pageBuffer.begin(), rec.pageBuffer.begin() + std::ssize(frames)};
    }
    ElectrodeRecord& e(int code) { return rec.electrodes[code]; }
    InMemory& logic(int code, int32_t min, int32_t max, int32_t ground) {
        e(code).logicMin = min, e(code).logicMax = max, e(code).logicGround = ground;
        return *this;
    }
};

using Frames = std::vector<int32_t>;

TEST(AverageReference, SubtractsTheMeanOfTheIncludedEegChannelsWithinTheLogicRange) {
    InMemory m({1, 2, 3, 167, 4}, 1);
    m.e(167) = polygraphicElectrode("ECG", "ECG-", 3200);
    m.e(4).avgExcluded = 1;
    m.e(1).logicGround = 100; // the first EEG channel's zero level counts
    // Mean of 1000, 2000, 3001 is 2000 (truncated); less 100 gives 1900.
    EXPECT_EQ(m.apply({1000, 2000, 3001, 50000, 9000, 100, 100, 100, 7, 100}),
              (Frames{0, 100, 1101, 50000, 7100, 100, 100, 100, 7, 100}));
    // The first EEG channel's logic range limits the result.
    EXPECT_EQ(InMemory({1, 2}, 1).logic(1, 10, 1000, 0).apply({0, 3000}), (Frames{10, 1000}));
    InMemory excluded({1, 2}, 1); // no averaged channel at all
    excluded.e(1).avgExcluded = 1;
    excluded.e(2).avgExcluded = 5;
    EXPECT_EQ(excluded.apply({123, 456}), (Frames{123, 456}));
    // A code with no electrode record stays as it is.
    EXPECT_EQ(InMemory({700, 1, 2}, 1).logic(1, 0, 65535, 0).apply({5, 10, 30}),
              (Frames{5, 0, 10}));
    // A 32-bit sum would wrap far away from the mean.
    InMemory big({1, 2, 3}, 1);
    big.logic(1, kMin, kMax, 0).logic(2, kMin, kMax, 0).logic(3, kMin, kMax, 0);
    EXPECT_EQ(big.apply({2000000000, 2000000000, 1999999970}), (Frames{10, 10, -20}));
}

TEST(EarReference, SubtractsHalfTheEarsFromEveryEegChannel) {
    InMemory m({1, 23, 22, 167}, 2);
    m.e(167) = polygraphicElectrode("ECG", "ECG-", 3200);
    m.e(0).logicGround = 1000;
    // Half of 7001 is 3500; less 1000 gives 2500. Below 0 becomes 0; there is no top limit.
    EXPECT_EQ(m.apply({5000, 3000, 4001, 8, 100, 3000, 4000, 9}),
              (Frames{2500, 500, 1501, 8, 0, 500, 1500, 9}));
    InMemory high({1, 23, 22}, 2);
    high.e(0).logicGround = 0;
    // The ears' sum is signed: a reference of -2000000000 saturates the sample.
    EXPECT_EQ(high.apply({kMax, -2000000000, -2000000000})[0], kMax);
    // Signed samples (zero level 0) keep both sides of zero: the ears sum to -401, half rounds
    // down to -201; the floor is the channel's logicMin; the 32-bit range saturates.
    InMemory sign({1, 23, 22}, 2);
    for (int code : {0, 1, 22, 23}) {
        sign.logic(code, -1000, 1000, 0);
    }
    EXPECT_EQ(sign.apply({-500, -100, -301, 300, 100, 200, -2000, 0, 0}),
              (Frames{-299, 101, -100, 150, -50, 50, -1000, 0, 0}));
    for (int code : {0, 1, 22, 23}) {
        sign.logic(code, kMin, 0, 0);
    }
    EXPECT_EQ(sign.apply({-2000, 0, 0, kMin, 2000, 0}), (Frames{-2000, 0, 0, kMin, 1000, -1000}));
    // A reference below zero cannot push a sample past the 32-bit range.
    high.e(0).logicGround = 2000000000;
    EXPECT_EQ(high.apply({kMax, 0, 0}), (Frames{kMax, 2000000000, 2000000000}));

    // Both ears must be EEG channels; other modes leave the samples as read.
    InMemory polygraphicEar({1, 23, 22}, 2);
    polygraphicEar.e(22).electrodeType = 1;
    EXPECT_EQ(polygraphicEar.apply({10, 20, 30}), (Frames{10, 20, 30}));
    EXPECT_EQ(InMemory({1, 23, 2}, 2).apply({10, 20, 30}), (Frames{10, 20, 30}));
    for (uint8_t mode : {0, 3, 200}) {
        EXPECT_EQ(InMemory({1, 23, 22}, mode).apply({10, 20, 30}), (Frames{10, 20, 30}));
    }
}

// Four EEG channels, ECG (167, polygraphic) and an unfiltered input (174), all acquired;
// EEG code 9 described but not acquired.
class LineSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecordingDescription d = fourChannels();
        d.order.insert(d.order.end(), {167, 174});
        d.electrodes[167] = polygraphicElectrode("ECG1+", "ECG1-", 3200);
        d.electrodes[174] = polygraphicElectrode("PHO", "PHO-", 100);
        d.electrodes[9] = eegElectrode("C4");
        d.electrodes[9].status = 0;
        opened = std::make_unique<OpenedRecording>(dir, d);
    }
    Recording& rec() { return opened->rec; }
    MontageRecord& m() { return opened->rec.currentMontage; }
    Values gains() { return {m().gain.begin(), m().gain.begin() + m().numLines}; }
    Values highPass() { return {m().highPass.begin(), m().highPass.begin() + m().numLines}; }
    Values lowPass() { return {m().lowPass.begin(), m().lowPass.begin() + m().numLines}; }

    TempDir dir;
    std::unique_ptr<OpenedRecording> opened;
};

TEST_F(LineSettingsTest, StepGainsMovesEveryLineOrNoneAndComparesUnsigned) {
    // The electrode a line examines falls back to earlier lines; none before the first.
    m() = montage("m", {{0, 0}, {0, 14}, {0, 0}, {2, 15}});
    EXPECT_EQ(examinedElectrode(m(), 0), std::nullopt);
    EXPECT_EQ((Values{*examinedElectrode(m(), 1), *examinedElectrode(m(), 2),
                      *examinedElectrode(m(), 3)}),
              (Values{14, 14, 2}));

    m() = montage("m", {{1, 2}, {2, 14}, {167, 0}});
    const std::vector<int32_t> list = {10, 50, 70, 100, 200, -1};
    // Gains before, up, moved, gains after. At the top or the bottom of the list nothing
    // moves, not even the lines that could; 75 is not in the list; -5 is above every gain.
    const std::tuple<Values, bool, bool, Values> steps[] = {
        {{50, 75, 100}, true, true, {70, 100, 200}},  {{70, 100, 200}, false, true, {50, 70, 100}},
        {{50, 75, 100}, false, true, {10, 70, 70}},   {{10, 70, 200}, true, false, {10, 70, 200}},
        {{10, 70, 200}, false, false, {10, 70, 200}}, {{5, 70, 200}, false, false, {5, 70, 200}},
        {{-5, 70, 100}, true, false, {-5, 70, 100}},  {{-5, 70, 100}, false, true, {200, 50, 70}}};
    for (const auto& [before, up, moved, after] : steps) {
        std::copy(before.begin(), before.end(), m().gain.begin());
        EXPECT_EQ(stepGains(rec(), list, up), moved) << before[0] << " " << up;
        EXPECT_EQ(gains(), after) << before[0] << " " << up;
    }
    // A list without its terminator ends at its end; values after a -1 are never looked at.
    m() = montage("m", {{1, 2}});
    m().gain[0] = 70;
    const auto exact = std::make_unique<int32_t[]>(3); // on the heap: a read past is caught
    exact[0] = 50, exact[1] = 70, exact[2] = 100;
    EXPECT_TRUE(stepGains(rec(), std::span<const int32_t>(exact.get(), 3), true));
    EXPECT_FALSE(stepGains(rec(), std::span<const int32_t>(exact.get(), 3), true));
    EXPECT_FALSE(stepGains(rec(), {}, true));
    EXPECT_FALSE(stepGains(rec(), std::vector<int32_t>{50, -1, 500}, true));
    EXPECT_EQ(m().gain[0], 100);
}

TEST_F(LineSettingsTest, GainAndFilterValuesGoToSelectedThenEegThenPolygraphicLines) {
    m() = montage("m", {{1, 2}, {2, 14}, {167, 0}, {174, 0}, {0, 167}, {14, 15}});
    m().selected[1] = m().selected[2] = 1;
    setEegGain(rec(), 300);
    setEegFilter(rec(), FilterSetting::HighPass, 1600);
    EXPECT_EQ(gains(), (Values{100, 300, 300, 100, 100, 100}));
    EXPECT_EQ(highPass(), (Values{530, 1600, 1600, 530, 530, 530}));
    deselectAll(m());
    EXPECT_EQ(m().selected[1] + m().selected[2], 0);
    setEegGain(rec(), 50); // EEG lines and the unfiltered input
    setEegFilter(rec(), FilterSetting::LowPass, 3000);
    EXPECT_EQ(gains(), (Values{50, 50, 300, 50, 100, 50}));
    EXPECT_EQ(lowPass(), (Values{3000, 3000, 7000, 7000, 7000, 3000}));

    // The EEG gain shown is the one all EEG lines share; polygraphic lines do not count.
    m() = montage("m", {{167, 0}, {1, 2}, {2, 14}});
    m().gain[0] = 1000;
    EXPECT_EQ(eegGain(rec()), 100);
    m().gain[2] = 70;
    EXPECT_EQ(eegGain(rec()), -1);
    m().numLines = 1; // no EEG line
    EXPECT_EQ(eegGain(rec()), -1);

    // No EEG line whose examined electrode is acquired: the polygraphic lines take it.
    m() = montage("m", {{0, 0}, {9, 0}, {167, 0}});
    setEegFilter(rec(), FilterSetting::LowPass, 300);
    EXPECT_EQ(lowPass(), (Values{7000, 7000, 300}));
}

TEST_F(LineSettingsTest, PrevailingFilterIsTheMostCommonEegValueElsePolygraphic) {
    m() = montage("m", {{1, 2}, {2, 14}, {14, 15}, {167, 0}, {15, 1}, {1, 14}});
    const uint32_t highPass[] = {530, 160, 160, 9999, 530, 530};
    for (int i = 0; i < 6; ++i) {
        m().highPass[i] = highPass[i];
        m().lowPass[i] = 1000 * (i + 1); // all distinct: line 0's
    }
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), 530);
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), 1000);
    m().highPass[4] = 160; // 530, 160, 160, 160, 530: the earliest of the best wins
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), 160);

    m() = montage("m", {{167, 0}, {0, 174}});
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), 530);
    m().highPass[1] = 100;
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::HighPass), -1);
    m() = montage("m", {{9, 0}, {167, 0}}); // the EEG line's electrode is not acquired
    m().lowPass[0] = 1;
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), 7000);
    m() = montage("m", {{9, 0}, {0, 0}});
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), -1);
    m().numLines = 0;
    EXPECT_EQ(prevailingFilter(rec(), FilterSetting::LowPass), -1);
}

} // namespace
} // namespace viewer::testing
