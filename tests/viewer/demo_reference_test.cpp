// The demo recording's zero-level electrode: its ear-referenced montage draws the EEG on
// both sides of the baseline instead of cutting it at zero.

#include "demo_recording.h"
#include "temp_dir.h"
#include "trace_model.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

TEST(DemoRecording, ElectrodeZeroSharesTheZeroLevelOfTheInputs) {
    for (uint8_t generation : {2, 3, 4}) {
        TempDir dir;
        RecordingDescription d = demo::demoRecording(generation);
        d.frames = 20 * d.rate; // the first 20 s (two pages) are enough
        writeRecording(dir.file("demo.vwr"), d);
        TraceModel model;
        ASSERT_TRUE(model.open(dir.file("demo.vwr"), false).opened) << int(generation);
        const Recording& rec = model.recording();
        const ElectrodeRecord& zero = rec.electrodes[0];
        const ElectrodeRecord& input = rec.electrodes[demo::Fp1];
        EXPECT_EQ(zero.logicGround, input.logicGround) << int(generation);
        EXPECT_EQ(zero.logicMin, input.logicMin) << int(generation);
        EXPECT_EQ(zero.logicMax, input.logicMax) << int(generation);
        if (generation < 3) {
            continue; // no archived montages
        }
        model.chooseMontage(32, 50); // "Referential to A1+A2"
        ASSERT_EQ(rec.currentMontage.refMode, 2);
        bool switched = false;
        ASSERT_TRUE(model.seekPage(5, false, switched));
        ASSERT_TRUE(model.loadPage());
        int64_t eeg = 0;
        int64_t atZero = 0;
        for (uint32_t f = 0; f < rec.samplesPerPage; ++f) {
            for (int c = 0; c < rec.header.numChannels; ++c) {
                if (!rec.electrodes[rec.orderTable[c]].polygraphic()) {
                    ++eeg;
                    atZero += rec.pageBuffer[f * rec.header.numChannels + c] == 0 ? 1 : 0;
                }
            }
        }
        EXPECT_GT(eeg, 0);
        EXPECT_LT(atZero * 100, eeg) << int(generation) << ": " << atZero << " of " << eeg;
    }
}

} // namespace
} // namespace viewer::testing
