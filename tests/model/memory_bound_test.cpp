// The memory of a page stays bounded on the page that holds the most line values: one
// channel shown on 128 lines over the longest page the buffer allows.

#include "recording_writer.h"
#include "temp_dir.h"
#include "trace_model.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace viewer::testing {
namespace {

// A field of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); -1 when it cannot be read.
long statusKib(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key) {
            long kib = -1;
            status >> kib;
            return kib;
        }
    }
    return -1;
}

TEST(MemoryBound, OneChannelOn128LinesOverTheLongestPage) {
    TempDir dir;
    RecordingDescription d;
    d.order = {174}; // lines of this electrode skip the filters, which keeps the test quick
    d.electrodes[174] = eegElectrode("PHO");
    d.frames = 256;
    MontageRecord m = montage("Many", std::vector<std::pair<uint16_t, uint16_t>>(128, {174, 0}));
    m.converted = 1;
    m.pageMs = 0x7FFFFFFF; // limited to the longest page
    d.history = true;
    d.historySamples = {0};
    d.historyMontages = {m};
    writeRecording(dir.file("r.vwr"), d);

    std::ofstream("/proc/self/clear_refs") << "5"; // restarts the peak at the current size
    const long before = statusKib("VmRSS:");
    TraceModel model;
    ASSERT_TRUE(model.open(dir.file("r.vwr"), true).historyLoaded);
    ASSERT_EQ(model.recording().samplesPerPage, 1310720u);
    bool switched = false;
    ASSERT_TRUE(model.seekPage(0, true, switched));
    EXPECT_FALSE(model.loadPage()); // the page reaches far past the data
    int seen = 0;
    model.computeLineValues([&](int, std::span<const float> v) { seen += v.size() == 1310720; });
    const long growth = statusKib("VmHWM:") - before;
    EXPECT_EQ(seen, 128);
    ASSERT_GE(before, 0);
    EXPECT_LT(growth, 100 * 1024) << growth << " KiB"; // keeping every line took 640 MB
}

} // namespace
} // namespace viewer::testing
