// The ear reference read from files of signed 4-byte and unsigned 2-byte samples: signed
// values keep both sides of zero, unsigned ones give the answers they always gave.

#include "page_loading.h"
#include "recording_writer.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace viewer::testing {
namespace {

using Frames = std::vector<std::vector<int32_t>>;

TEST(EarReference, KeepsTheSignOfSignedSamples) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const struct {
        const char* name;
        uint16_t bytes;
        std::array<int32_t, 3> range; // logicMin, logicMax, logicGround of every electrode
        Frames read;                  // channels 1, 23, 22 as written
        Frames expected;              // after the ear reference
    } cases[] = {
        // Ears sum to -401: half rounds down to -201.
        {"signed",
         4,
         {-1000, 1000, 0},
         {{-500, -100, -301}, {300, 100, 200}, {-2000, 0, 0}},
         {{-299, 101, -100}, {150, -50, 50}, {-1000, 0, 0}}},
        // A logic range reaching far below zero floors nothing; the 32-bit range saturates.
        {"signed wide",
         4,
         {kMin, 0, 0},
         {{-2000, 0, 0}, {kMin, 2000, 0}},
         {{-2000, 0, 0}, {kMin, 1000, -1000}}},
        // Unsigned around 32768: half of 65937 is 32968, a reference of 200; below 0 is 0.
        {"unsigned",
         2,
         {0, 65535, 32768},
         {{32768, 32868, 33069}, {100, 32868, 33069}, {65535, 65535, 65535}},
         {{32568, 32668, 32869}, {0, 32668, 32869}, {32768, 32768, 32768}}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        RecordingDescription d;
        d.bytesPerSample = c.bytes;
        d.order = {1, 23, 22};
        for (uint16_t code : {0, 1, 22, 23}) {
            d.electrodes[code] = eegElectrode("E");
            d.electrodes[code].logicMin = c.range[0];
            d.electrodes[code].logicMax = c.range[1];
            d.electrodes[code].logicGround = c.range[2];
        }
        d.frames = static_cast<int64_t>(c.read.size());
        d.sample = [&c](int64_t f, int ch) { return c.read[f][ch]; };
        writeRecording(dir.file("r.vwr"), d);
        Recording rec;
        ASSERT_TRUE(openRecording(rec, dir.file("r.vwr"))) << c.name;
        rec.pageBuffer.assign(kPageBufferValues, 0);
        rec.currentMontage.refMode = 2;
        EXPECT_TRUE(LoadPage(rec, 0, static_cast<uint32_t>(c.read.size()))) << c.name;
        for (size_t f = 0; f < c.expected.size(); ++f) {
            const std::vector<int32_t> got(rec.pageBuffer.begin() + 3 * f,
                                           rec.pageBuffer.begin() + 3 * f + 3);
            EXPECT_EQ(got, c.expected[f]) << c.name << " frame " << f;
        }
    }
}

} // namespace
} // namespace viewer::testing
