// The trace model: opening with or without the montage history, positioning pages, and
// the filtered values of every line over a page.

#include "montage_recordings.h"
#include "temp_dir.h"
#include "text.h"
#include "trace_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

namespace viewer::testing {
namespace {

std::string description(const TraceModel& model) {
    const auto& d = model.recording().currentMontage.description;
    return std::string(fieldText(d.data(), d.size()));
}

std::vector<float> values(const TraceModel& model, int line) {
    const std::span<const float> v = model.lineValues(line);
    return {v.begin(), v.end()};
}

// A model that opened `d`, written into `dir`.
std::unique_ptr<TraceModel> opened(const TempDir& dir, const RecordingDescription& d,
                                   bool asRecorded = false, const std::string& name = "t.vwr") {
    writeRecording(dir.file(name), d);
    auto model = std::make_unique<TraceModel>();
    EXPECT_TRUE(model->open(dir.file(name), asRecorded).opened);
    return model;
}

// Positions, reads and computes the page at `sec`; the page read's result.
bool drawn(TraceModel& model, int32_t sec) {
    bool switched = false;
    EXPECT_TRUE(model.seekPage(sec, false, switched));
    const bool whole = model.loadPage();
    model.computeLineValues();
    return whole;
}

TEST(TraceModelOpen, LoadsTheHistoryMontageOnlyWhenAskedAndAvailable) {
    TempDir dir;
    const RecordingDescription history = historyRecording({0, 5000, 9000, -1});
    auto asRecorded = opened(dir, history, true, "h.vwr");
    EXPECT_EQ(description(*asRecorded), "History 0");
    EXPECT_EQ(asRecorded->recording().currentMontage.numLines, 1);
    EXPECT_EQ(asRecorded->recording().maxPageMs, 655000); // 4 channels at 500 per second
    EXPECT_EQ(asRecorded->recording().pageBuffer.size(), static_cast<size_t>(kPageBufferValues));

    TraceModel plain;
    const auto result = plain.open(dir.file("h.vwr"), false);
    EXPECT_TRUE(result.opened);
    EXPECT_FALSE(result.historyLoaded);
    EXPECT_EQ(plain.recording().currentMontage.numLines, 0);

    // A history index kept from another recording that this one's area does not reach.
    writeRecording(dir.file("short.vwr"), historyRecording({0, 100}));
    asRecorded->recording().historyIndex = 5;
    const auto stale = asRecorded->open(dir.file("short.vwr"), true);
    EXPECT_TRUE(stale.opened);
    EXPECT_FALSE(stale.historyLoaded);
    EXPECT_EQ(asRecorded->recording().currentMontage.numLines, 0);

    EXPECT_FALSE(plain.open(dir.file("missing.vwr"), false).opened);
}

TEST(TraceModelOpen, AsRecordedNeedsAMontageHistory) {
    TempDir dir;
    auto model = opened(dir, montageRecording());
    model->chooseMontage(31, 50);
    bool loaded = true;
    EXPECT_FALSE(model->setAsRecorded(true, loaded));
    EXPECT_FALSE(loaded);
    EXPECT_EQ(description(*model), "Referential"); // left as it was
    EXPECT_FALSE(model->setAsRecorded(false, loaded));
    EXPECT_EQ(model->recording().currentMontage.numLines, 0);
}

TEST(TraceModelPages, RefusesSecondsOutsideTheData) {
    TempDir dir;
    auto model = opened(dir, historyRecording({0, -1}, 500, 30));
    bool switched = false;
    ASSERT_TRUE(model->seekPage(12, false, switched));
    EXPECT_EQ(model->recording().pageStart, 6000u);
    // A 32-bit product of 4294968 s and 500 frames would wrap to frame 704, inside the data.
    for (int32_t sec : {-1, 30, 31, 4294968, std::numeric_limits<int32_t>::max(),
                        std::numeric_limits<int32_t>::min()}) {
        EXPECT_FALSE(model->seekPage(sec, true, switched)) << sec;
        EXPECT_EQ(model->recording().pageStart, 6000u) << sec;
    }
    ASSERT_TRUE(model->seekPage(29, false, switched));
    EXPECT_EQ(model->recording().pageStart, 14500u);

    TraceModel closed;
    EXPECT_FALSE(closed.seekPage(0, false, switched));
}

TEST(TraceModelValues, FollowTheKindOfEveryLine) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    MontageRecord mixed = d.montages[2]; // (0,0) (1,0) (0,2) (1,3) (1,9)
    for (int i = 0; i < mixed.numLines; ++i) {
        mixed.highPass[i] = 0;
        mixed.lowPass[i] = 100000;
    }
    d.montages = {mixed};
    auto model = opened(dir, d);
    model->chooseMontage(30, 50);
    ASSERT_TRUE(drawn(*model, 1));
    const auto sample = [](int frame, int channel) { return 1000 * (channel + 1) + frame % 500; };
    const auto& line = [&](int i) { return values(*model, i); };
    ASSERT_EQ(line(1).size(), 2560u);
    for (int l : {0, 1, 300, 2559}) {
        const int f = 256 + l;
        EXPECT_EQ(line(0)[l], 0.0f);
        EXPECT_EQ(line(1)[l], static_cast<float>(sample(f, 0) - 32768));
        EXPECT_EQ(line(2)[l], static_cast<float>(32768 - sample(f, 1)));
        EXPECT_EQ(line(3)[l], static_cast<float>(sample(f, 0) - sample(f, 2)));
        EXPECT_EQ(line(4)[l], 0.0f); // unavailable: nothing to carry
    }
    EXPECT_TRUE(model->lineValues(5).empty());
}

TEST(TraceModelValues, LinesOfUnfilteredElectrodesBypassTheChain) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.order.push_back(203);
    d.electrodes[203] = polygraphicElectrode("PHO", "PHO-", 3200);
    MontageRecord m = montage("Bypass", {{203, 0}, {1, 0}, {0, 203}});
    m.notch = 1;
    d.montages = {m};
    auto model = opened(dir, d);
    model->chooseMontage(30, 50);
    ASSERT_TRUE(drawn(*model, 0));
    const std::vector<float> raw = values(*model, 0);
    for (size_t l = 0; l < raw.size(); ++l) {
        const int f = static_cast<int>(l);
        ASSERT_EQ(raw[l], static_cast<float>(5000 + f % 500 - 32768)) << l;
        ASSERT_EQ(values(*model, 2)[l], static_cast<float>(32768 - (5000 + f % 500))) << l;
    }
    for (int line : {0, 2}) {
        const FilterState& s = model->filters().line(line).state();
        EXPECT_EQ(s.x1, 0.0);
        EXPECT_EQ(s.t1, 0.0);
        EXPECT_EQ(s.z1, 0.0);
        EXPECT_EQ(s.w1, 0.0);
    }
    EXPECT_NE(model->filters().line(1).state().t1, 0.0);
}

TEST(TraceModelValues, OneLinePerChannelRecordingsReadChannelI) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.fileType = 128;
    MontageRecord m = montage("Per channel", {{3, 0}, {0, 3}, {0, 0}});
    m.highPass = {};
    m.lowPass.fill(100000);
    d.montages = {m};
    auto model = opened(dir, d);
    model->chooseMontage(30, 50);
    ASSERT_TRUE(drawn(*model, 0));
    EXPECT_EQ(values(*model, 0)[7], static_cast<float>(1000 + 7 - 32768));
    EXPECT_EQ(values(*model, 1)[7], static_cast<float>(2000 + 7 - 32768));
    EXPECT_EQ(values(*model, 2)[7], 0.0f);
}

TEST(TraceModelValues, FilterStateCarriesAcrossPagesUntilRecomputed) {
    TempDir dir;
    const RecordingDescription d = montageRecording(); // "Bipolar": notch, 0.53 Hz, 70 Hz
    auto paged = opened(dir, d, false, "a.vwr");
    paged->chooseMontage(30, 50);
    ASSERT_TRUE(drawn(*paged, 0));
    std::vector<float> twoPages = values(*paged, 1);
    ASSERT_TRUE(drawn(*paged, 10));
    const std::vector<float> second = values(*paged, 1);
    twoPages.insert(twoPages.end(), second.begin(), second.end());

    // One page twice as long gives the same values: no new transient at the page break.
    auto longPage = opened(dir, d, false, "b.vwr");
    longPage->chooseMontage(30, 50);
    ASSERT_FLOAT_EQ(longPage->setPageSeconds(20.0f), 20.0f);
    ASSERT_TRUE(drawn(*longPage, 0));
    EXPECT_EQ(values(*longPage, 1), twoPages);

    // Drawing the same page again continues from the state the first pass left...
    auto again = opened(dir, d, false, "c.vwr");
    again->chooseMontage(30, 50);
    ASSERT_TRUE(drawn(*again, 0));
    const std::vector<float> first = values(*again, 1);
    again->computeLineValues();
    EXPECT_NE(values(*again, 1), first);
    // ...and a notch change starts the filters again from cleared state.
    again->setNotch(1);
    again->computeLineValues();
    EXPECT_EQ(values(*again, 1), first);
}

} // namespace
} // namespace viewer::testing
