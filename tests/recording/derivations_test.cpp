// Derivation records of montage lines, line values and line scales.

#include "derivations.h"
#include "fixtures.h"
#include "montage_recordings.h"
#include "montages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace viewer::testing {
namespace {

TEST(BuildDerivations, GivesEachLineItsKindChannelsAndCalibration) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.electrodes[3].logicGround = 100; // F3 on channel 2
    d.electrodes[3].unit = 1;
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    ASSERT_TRUE(LoadArchivedMontage(o.rec, 2)); // (0,0) (1,0) (0,2) (1,3) (1,9)
    buildDerivationRecords(o.rec);
    const auto& r = o.rec.derivations;

    EXPECT_EQ(r[0].kind, kNoInput);
    EXPECT_EQ(r[1].kind, kInputAOnly);
    EXPECT_EQ(r[1].channelA, 0);
    EXPECT_EQ(r[1].logicGround, 32768);
    EXPECT_EQ(r[2].kind, kInputBOnly);
    EXPECT_EQ(r[2].channelB, 1);
    EXPECT_EQ(r[3].kind, kBothInputs);
    EXPECT_EQ(r[3].channelA, 0);
    EXPECT_EQ(r[3].channelB, 2);
    EXPECT_EQ(r[3].logicGround, 100); // inputB's calibration wins
    EXPECT_EQ(r[3].unit, 1);
    EXPECT_EQ(r[4].kind, kUnavailable); // electrode 9 is not acquired
    EXPECT_EQ(r[5].kind, kNoInput);     // past numLines
}

TEST(BuildDerivations, CodesOutsideTheElectrodeTableMakeNoPositionAndNoLine) {
    TempDir dir;
    RecordingDescription d = montageRecording();
    d.order[1] = 700; // channel 1 carries a code no electrode record has
    d.montages = {montage("Outside", {{1, 700}, {640, 0}, {0, 65535}, {3, 1}})};
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    ASSERT_TRUE(LoadArchivedMontage(o.rec, 0));
    buildDerivationRecords(o.rec);
    EXPECT_EQ(o.rec.derivations[0].kind, kUnavailable);
    EXPECT_EQ(o.rec.derivations[1].kind, kUnavailable);
    EXPECT_EQ(o.rec.derivations[2].kind, kUnavailable);
    EXPECT_EQ(o.rec.derivations[3].kind, kBothInputs);
    EXPECT_EQ(o.rec.derivations[3].channelA, 2);
    EXPECT_EQ(o.rec.derivations[3].channelB, 0);
}

TEST(BuildDerivations, DoesNothingWithoutAFile) {
    Recording rec;
    rec.currentMontage = montage("No file", {{1, 2}});
    rec.derivations[0].kind = kUnavailable;
    buildDerivationRecords(rec);
    EXPECT_EQ(rec.derivations[0].kind, kUnavailable);
}

TEST(LineValue, FollowsTheKindOfLine) {
    const int32_t frame[] = {500, 70000, -3};
    DerivationRecord r;
    r.channelA = 1;
    r.channelB = 0;
    r.logicGround = 1000;
    r.kind = kInputAOnly;
    EXPECT_EQ(lineValue(r, frame), 69000);
    r.kind = kInputBOnly;
    EXPECT_EQ(lineValue(r, frame), 500);
    r.kind = kBothInputs;
    EXPECT_EQ(lineValue(r, frame), 69500);
    r.kind = kNoInput;
    EXPECT_EQ(lineValue(r, frame), 0);

    // 32-bit samples at the ends of their range do not overflow.
    const int32_t extremes[] = {std::numeric_limits<int32_t>::max(),
                                std::numeric_limits<int32_t>::min()};
    r.channelA = 0;
    r.channelB = 1;
    r.kind = kBothInputs;
    EXPECT_EQ(lineValue(r, extremes), 4294967295LL);
    r.kind = kInputBOnly;
    r.logicGround = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(lineValue(r, extremes), 4294967295LL);
}

TEST(LineScale, ConvertsEveryUnitToMicrovolts) {
    DerivationRecord r;
    r.physicalMax = 3200;
    r.physicalMin = -3200;
    r.logicMax = 65535;
    r.logicMin = 0;
    const double steps = 6400.0 / 65536.0;
    r.unit = 0;
    EXPECT_DOUBLE_EQ(lineScale(r), steps);
    r.unit = 1;
    EXPECT_DOUBLE_EQ(lineScale(r), steps * 1000.0);
    r.unit = 2;
    EXPECT_DOUBLE_EQ(lineScale(r), steps * 1000000.0);
    r.unit = -1;
    EXPECT_DOUBLE_EQ(lineScale(r), steps * 0.001);
    r.unit = 7; // unknown units are microvolts
    EXPECT_DOUBLE_EQ(lineScale(r), steps);

    // A logic range of no steps, and ranges beyond 32 bits, give finite scales.
    r.logicMax = -1;
    r.logicMin = 0;
    EXPECT_EQ(lineScale(r), 0.0);
    r.physicalMax = std::numeric_limits<int32_t>::max();
    r.physicalMin = std::numeric_limits<int32_t>::min();
    r.logicMax = std::numeric_limits<int32_t>::max();
    r.logicMin = std::numeric_limits<int32_t>::min();
    r.unit = 0;
    EXPECT_TRUE(std::isfinite(lineScale(r)));
    EXPECT_NEAR(lineScale(r), 1.0, 1e-9);
}

} // namespace
} // namespace viewer::testing
