// The control's memory stays bounded on the page that holds the most line values: one
// channel shown on 128 lines over the longest page the buffer allows.

#include "ctrl_fixture.h"

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
    CtrlFixture f;
    f.ctrl.resize(1200, 800);
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
    ASSERT_EQ(f.open(d), 0);
    f.ctrl.setGratis(true);
    ASSERT_EQ(f.lines(), 128);
    ASSERT_EQ(f.ctrl.recording().samplesPerPage, 1310720u);

    std::ofstream("/proc/self/clear_refs") << "5"; // restarts the peak at the current size
    const long before = statusKib("VmRSS:");
    EXPECT_FALSE(f.ctrl.DrawPage(0)); // the page reaches far past the data
    const long growth = statusKib("VmHWM:") - before;
    ASSERT_GE(before, 0);
    EXPECT_LT(growth, 100 * 1024) << growth << " KiB"; // keeping every line took 640 MB
}

} // namespace
} // namespace viewer::testing
