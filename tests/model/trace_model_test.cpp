// The trace model: opening with or without the montage history, positioning pages, and
// the filtered values of every line over a page.

#include "../recording/fixtures.h"
#include "derivations.h"
#include "montage_recordings.h"
#include "trace_model.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <memory>

namespace viewer::testing {
namespace {

std::string description(const TraceModel& model) {
    return text(model.recording().currentMontage.description);
}

std::vector<float> values(const TraceModel& model, int line) {
    const std::span<const float> v = model.lineValues(line);
    return {v.begin(), v.end()};
}

// Value `l` of each of the lines `lines`.
std::vector<float> column(const TraceModel& model, std::vector<int> lines, int l) {
    std::vector<float> v;
    for (int i : lines) {
        v.push_back(model.lineValues(i)[l]);
    }
    return v;
}

// A model that opened `d`, written into `dir`, on archived montage 0 (or as recorded).
std::unique_ptr<TraceModel> opened(const TempDir& dir, const RecordingDescription& d,
                                   bool asRecorded = false, const std::string& name = "t.vwr") {
    writeRecording(dir.file(name), d);
    auto model = std::make_unique<TraceModel>();
    EXPECT_TRUE(model->open(dir.file(name), asRecorded).opened);
    if (!asRecorded) {
        model->chooseMontage(30, 50);
    }
    return model;
}

// Positions, reads and computes the page at `sec`.
void draw(TraceModel& model, int32_t sec) {
    bool switched = false;
    EXPECT_TRUE(model.seekPage(sec, false, switched));
    model.loadPage();
    model.computeLineValues();
}

TEST(TraceModel, OpensOnTheHistoryMontageOnlyWhenAskedAndAvailable) {
    TempDir dir;
    auto model = opened(dir, historyRecording({0, 5000, 9000, -1}), true, "h.vwr");
    const Recording& r = model->recording();
    EXPECT_EQ(description(*model), "History 0");
    // 4 channels at 500 per second: the longest page is 655 s; the page buffer is ready.
    EXPECT_EQ((Values{r.currentMontage.numLines, r.maxPageMs, r.samplesPerPage,
                      std::ssize(r.pageBuffer)}),
              (Values{1, 655000, 5000, kPageBufferValues}));

    TraceModel plain;
    EXPECT_FALSE(plain.open(dir.file("h.vwr"), false).historyLoaded);
    EXPECT_EQ(plain.recording().currentMontage.numLines, 0);
    bool loaded = false; // following the history loads the montage of the page
    EXPECT_TRUE(plain.setAsRecorded(true, loaded) && loaded);
    EXPECT_EQ(description(plain), "History 0");
    // A page length kept from before is cut to what this recording's page buffer holds:
    // 4 channels at 2048 per second hold 160 s.
    ASSERT_FLOAT_EQ(plain.setPageSeconds(600.0f), 600.0f);
    writeRecording(dir.file("fast.vwr"), montageRecording(2048, 1));
    ASSERT_TRUE(plain.open(dir.file("fast.vwr"), false).opened);
    EXPECT_EQ(plain.recording().samplesPerPage, 160u * 2048u);
    // Without a history, "as recorded" cannot be kept.
    writeRecording(dir.file("m.vwr"), montageRecording());
    ASSERT_TRUE(plain.open(dir.file("m.vwr"), false).opened);
    EXPECT_EQ(plain.chooseMontage(31, 50), 31);
    EXPECT_FALSE(plain.setAsRecorded(true, loaded) || loaded);
    EXPECT_EQ(description(plain), "Referential");

    // A history index kept from another recording that this one's area does not reach.
    writeRecording(dir.file("short.vwr"), historyRecording({0, 100}));
    model->recording().historyIndex = 5;
    const auto stale = model->open(dir.file("short.vwr"), true);
    EXPECT_TRUE(stale.opened && !stale.historyLoaded);
    EXPECT_EQ(r.currentMontage.numLines, 0);
    EXPECT_FALSE(plain.open(dir.file("missing.vwr"), false).opened);
}

TEST(TraceModel, RefusesSecondsOutsideTheData) {
    TempDir dir;
    auto model = opened(dir, historyRecording({0, -1}, 500, 30));
    bool switched = false;
    ASSERT_TRUE(model->seekPage(12, false, switched));
    EXPECT_EQ(model->recording().pageStart, 6000u);
    // A 32-bit product of 4294968 s and 500 frames would wrap to frame 704, inside the data.
    for (int32_t sec : {-1, 30, 4294968, std::numeric_limits<int32_t>::max(),
                        std::numeric_limits<int32_t>::min()}) {
        EXPECT_FALSE(model->seekPage(sec, true, switched)) << sec;
        EXPECT_EQ(model->recording().pageStart, 6000u) << sec;
    }
    ASSERT_TRUE(model->seekPage(29, false, switched));
    EXPECT_EQ(model->recording().pageStart, 14500u);
    TraceModel closed;
    EXPECT_FALSE(closed.seekPage(0, false, switched));
}

TEST(TraceModel, LineValuesFollowTheKindOfEveryLineAndUnfilteredInputsBypassTheChain) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.order.push_back(203); // an unfiltered input, channel 4
    d.electrodes[203] = polygraphicElectrode("PHO", "PHO-", 3200);
    MontageRecord m = montage("Kinds", {{0, 0}, {1, 0}, {0, 2}, {1, 3}, {1, 9}, {203, 0}});
    for (int i = 0; i < 5; ++i) { // the filters of lines 0 to 4 pass their input
        m.highPass[i] = 0;
        m.lowPass[i] = 100000;
    }
    d.montages = {m};
    auto model = opened(dir, d);
    draw(*model, 1);
    const auto sample = [](int f, int c) { return float(1000 * (c + 1) + f % 500); };
    ASSERT_EQ(values(*model, 1).size(), 2560u);
    for (int l : {0, 1, 300, 2559}) {
        const int f = 256 + l;
        // No input, A, B, both, an unavailable electrode: nothing to carry; unfiltered.
        EXPECT_EQ(column(*model, {0, 1, 2, 3, 4, 5}, l),
                  (std::vector<float>{0, sample(f, 0) - 32768, 32768 - sample(f, 1),
                                      sample(f, 0) - sample(f, 2), 0, sample(f, 4) - 32768}))
            << l;
    }
    EXPECT_EQ(model->filters().line(5).state().t1, 0.0);
    EXPECT_TRUE(model->lineValues(6).empty());

    // Recordings of one line per channel read channel i for line i.
    d.fileType = 128;
    model = opened(dir, d, false, "per-channel.vwr");
    draw(*model, 0);
    EXPECT_EQ(column(*model, {0, 2, 3, 4}, 7),
              (std::vector<float>{0, sample(7, 2) - 32768, sample(7, 3) - 32768, 0}));
}

TEST(TraceModel, FilterStateCarriesAcrossPagesAndANotchChangeClearsIt) {
    TempDir dir;
    RecordingDescription d = montageRecording(); // "Bipolar": notch, 0.53 Hz, 70 Hz
    d.montages[0].notch = 2;                     // stored as 60 Hz, chosen at 50 Hz
    auto paged = opened(dir, d, false, "a.vwr");
    EXPECT_EQ(paged->recording().currentMontage.notch, 1);
    draw(*paged, 0);
    std::vector<float> twoPages = values(*paged, 1);
    draw(*paged, 10);
    const std::vector<float> second = values(*paged, 1);
    twoPages.insert(twoPages.end(), second.begin(), second.end());
    // One page twice as long gives the same values: no new transient at the page break.
    auto longPage = opened(dir, d, false, "b.vwr");
    ASSERT_FLOAT_EQ(longPage->setPageSeconds(20.0f), 20.0f);
    draw(*longPage, 0);
    EXPECT_EQ(values(*longPage, 1), twoPages);
    // Computing the same page again continues from the state the first pass left; a notch
    // change starts the filters again from cleared state.
    longPage->computeLineValues();
    EXPECT_NE(values(*longPage, 1), twoPages);
    longPage->setNotch(1);
    longPage->computeLineValues();
    EXPECT_EQ(values(*longPage, 1), twoPages);
}

TEST(TraceModel, APageLargerThanTheCacheGivesEveryLineItsOwnChainsValues) {
    // 48 channels at 512 Hz over 20 s: the page is filtered block of frames by block of
    // frames, lines two and four at a time; a line without input cuts the groups.
    TempDir dir;
    RecordingDescription d;
    d.rate = 512;
    std::vector<std::pair<uint16_t, uint16_t>> lines;
    for (uint16_t c = 1; c <= 48; ++c) {
        d.order.push_back(c);
        d.electrodes[c] = eegElectrode(numberedLabel("E", c));
        lines.emplace_back(c, c % 48 + 1);
    }
    lines[5] = {0, 0};
    d.frames = 30 * 512;
    d.sample = [](int64_t f, int c) { return int32_t(32768 + (f * (c + 3)) % 4000 - 2000); };
    d.montages = {montage("Wide", lines)};
    d.montages[0].notch = 1;
    auto model = opened(dir, d);
    ASSERT_FLOAT_EQ(model->setPageSeconds(20.0f), 20.0f);
    std::vector<LineFilter> alone;
    for (int i = 0; i < 48; ++i) {
        alone.push_back(model->filters().line(i));
    }
    draw(*model, 5);
    const Recording& rec = model->recording();
    for (int i = 0; i < 48; ++i) {
        const DerivationRecord r = lineSource(rec, i);
        std::vector<float> expected;
        for (uint32_t f = 0; f < rec.samplesPerPage; ++f) {
            const double v = static_cast<double>(
                lineValue(r, rec.pageBuffer.data() + size_t{f} * rec.header.numChannels));
            expected.push_back(i == 5 ? 0.0f : static_cast<float>(alone[i].step(v)));
        }
        ASSERT_EQ(values(*model, i), expected) << i;
    }
}

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); -1 when it cannot be read.
long statusKib(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    long kib = -1;
    while (status >> word && word != key) {
    }
    status >> kib;
    return kib;
}

TEST(TraceModel, MemoryStaysBoundedForOneChannelOn128LinesOverTheLongestPage) {
    TempDir dir;
    RecordingDescription d;
    d.order = {174}; // lines of this electrode skip the filters, which keeps the test quick
    d.electrodes[174] = eegElectrode("PHO");
    d.frames = 256;
    MontageRecord m = montage("Many", std::vector<std::pair<uint16_t, uint16_t>>(128, {174, 0}));
    m.converted = 1;
    m.pageMs = 0x7FFFFFFF; // limited to the longest page: 1310720 frames
    d.history = true;
    d.historySamples = {0};
    d.historyMontages = {m};
    std::ofstream("/proc/self/clear_refs") << "5"; // restarts the peak at the current size
    const long before = statusKib("VmRSS:");
    auto model = opened(dir, d, true);
    bool switched = false;
    ASSERT_TRUE(model->seekPage(0, true, switched));
    EXPECT_FALSE(model->loadPage()); // the page reaches far past the data
    int seen = 0;
    model->computeLineValues([&](int, std::span<const float> v) { seen += v.size() == 1310720; });
    const long growth = statusKib("VmHWM:") - before;
    EXPECT_EQ(seen, 128);
    ASSERT_GE(before, 0);
    EXPECT_LT(growth, 100 * 1024) << growth << " KiB"; // keeping every line took 640 MB
}

} // namespace
} // namespace viewer::testing
