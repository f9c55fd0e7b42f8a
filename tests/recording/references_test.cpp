// Re-referencing the frames of a page: average reference and ear reference.

#include "recording_writer.h"
#include "references.h"

#include <gtest/gtest.h>

#include <limits>

namespace viewer::testing {
namespace {

// Makes `rec` a recording in memory whose channels carry the given electrode codes.
void withChannels(Recording& rec, const std::vector<uint16_t>& codes) {
    rec.header.numChannels = static_cast<uint16_t>(codes.size());
    for (size_t c = 0; c < codes.size(); ++c) {
        rec.orderTable[c] = codes[c];
        if (codes[c] < kElectrodeCount) {
            rec.electrodes[codes[c]] = eegElectrode("E");
        }
    }
    rec.pageBuffer.assign(kPageBufferValues, 0);
}

void setFrame(Recording& rec, uint32_t f, const std::vector<int32_t>& values) {
    std::copy(values.begin(), values.end(), rec.pageBuffer.begin() + f * rec.header.numChannels);
}

std::vector<int32_t> frame(const Recording& rec, uint32_t f) {
    auto first = rec.pageBuffer.begin() + f * rec.header.numChannels;
    return {first, first + rec.header.numChannels};
}

TEST(AverageReference, SubtractsTheMeanOfTheIncludedEegChannels) {
    Recording rec;
    withChannels(rec, {1, 2, 3, 167, 4});
    rec.electrodes[167] = polygraphicElectrode("ECG", "ECG-", 3200);
    rec.electrodes[4].avgExcluded = 1;
    rec.electrodes[1].logicGround = 100; // the first EEG channel's zero level counts
    rec.currentMontage.refMode = 1;
    setFrame(rec, 0, {1000, 2000, 3001, 50000, 9000});
    setFrame(rec, 1, {100, 100, 100, 7, 100});
    applyReference(rec, 2);
    // Mean of 1000, 2000, 3001 is 2000 (truncated); less 100 gives 1900.
    EXPECT_EQ(frame(rec, 0), (std::vector<int32_t>{0, 100, 1101, 50000, 7100}));
    EXPECT_EQ(frame(rec, 1), (std::vector<int32_t>{100, 100, 100, 7, 100}));
}

TEST(AverageReference, LimitsResultsToTheLogicRangeOfTheFirstEegChannel) {
    Recording rec;
    withChannels(rec, {1, 2});
    rec.electrodes[1].logicMin = 10;
    rec.electrodes[1].logicMax = 1000;
    rec.electrodes[1].logicGround = 0;
    rec.currentMontage.refMode = 1;
    setFrame(rec, 0, {0, 3000}); // mean 1500: -1500 and 1500
    applyReference(rec, 1);
    EXPECT_EQ(frame(rec, 0), (std::vector<int32_t>{10, 1000}));
}

TEST(AverageReference, LeavesFramesAloneWithoutAnyAveragedChannel) {
    Recording rec;
    withChannels(rec, {1, 2});
    rec.electrodes[1].avgExcluded = 1;
    rec.electrodes[2].avgExcluded = 5;
    rec.currentMontage.refMode = 1;
    setFrame(rec, 0, {123, 456});
    applyReference(rec, 1);
    EXPECT_EQ(frame(rec, 0), (std::vector<int32_t>{123, 456}));

    // Channels whose code has no electrode record are left as they are.
    Recording outside;
    withChannels(outside, {700, 1, 2});
    outside.currentMontage.refMode = 1;
    outside.electrodes[1].logicGround = 0;
    setFrame(outside, 0, {5, 10, 30});
    applyReference(outside, 1);
    EXPECT_EQ(frame(outside, 0), (std::vector<int32_t>{5, 0, 10}));
}

TEST(AverageReference, SumsLargeSamplesWithoutOverflow) {
    Recording rec;
    withChannels(rec, {1, 2, 3});
    const int32_t big = 2000000000;
    for (uint16_t code : {1, 2, 3}) {
        rec.electrodes[code].logicMin = std::numeric_limits<int32_t>::min();
        rec.electrodes[code].logicMax = std::numeric_limits<int32_t>::max();
        rec.electrodes[code].logicGround = 0;
    }
    rec.currentMontage.refMode = 1;
    setFrame(rec, 0, {big, big, big - 30});
    applyReference(rec, 1);
    // The mean is big - 10: a 32-bit sum would have wrapped far away from it.
    EXPECT_EQ(frame(rec, 0), (std::vector<int32_t>{10, 10, -20}));
}

TEST(EarReference, SubtractsHalfTheEarsFromEveryEegChannel) {
    Recording rec;
    withChannels(rec, {1, 23, 22, 167});
    rec.electrodes[167] = polygraphicElectrode("ECG", "ECG-", 3200);
    rec.electrodes[0].logicGround = 1000;
    rec.currentMontage.refMode = 2;
    setFrame(rec, 0, {5000, 3000, 4001, 8});
    setFrame(rec, 1, {100, 3000, 4000, 9});
    applyReference(rec, 2);
    // Half of 7001 is 3500; less 1000 gives 2500.
    EXPECT_EQ(frame(rec, 0), (std::vector<int32_t>{2500, 500, 1501, 8}));
    // Below 0 becomes 0; there is no upper limit.
    EXPECT_EQ(frame(rec, 1), (std::vector<int32_t>{0, 500, 1500, 9}));

    Recording high;
    withChannels(high, {1, 23, 22});
    high.electrodes[0].logicGround = 0;
    high.currentMontage.refMode = 2;
    setFrame(high, 0, {std::numeric_limits<int32_t>::max(), -2000000000, -2000000000});
    applyReference(high, 1);
    // The ears' sum is signed: a reference of -2000000000 saturates the sample.
    EXPECT_EQ(frame(high, 0)[0], std::numeric_limits<int32_t>::max());

    // A reference below zero cannot push a sample past the 32-bit range.
    high.electrodes[0].logicGround = 2000000000;
    setFrame(high, 0, {std::numeric_limits<int32_t>::max(), 0, 0});
    applyReference(high, 1);
    EXPECT_EQ(frame(high, 0),
              (std::vector<int32_t>{std::numeric_limits<int32_t>::max(), 2000000000, 2000000000}));
}

TEST(EarReference, NeedsBothEarsAmongTheEegChannels) {
    Recording oneEar;
    withChannels(oneEar, {1, 23, 2});
    oneEar.currentMontage.refMode = 2;
    setFrame(oneEar, 0, {10, 20, 30});
    applyReference(oneEar, 1);
    EXPECT_EQ(frame(oneEar, 0), (std::vector<int32_t>{10, 20, 30}));

    Recording polygraphicEar;
    withChannels(polygraphicEar, {1, 23, 22});
    polygraphicEar.electrodes[22].electrodeType = 1;
    polygraphicEar.currentMontage.refMode = 2;
    setFrame(polygraphicEar, 0, {10, 20, 30});
    applyReference(polygraphicEar, 1);
    EXPECT_EQ(frame(polygraphicEar, 0), (std::vector<int32_t>{10, 20, 30}));
}

TEST(References, OtherModesLeaveTheSamplesAsRead) {
    for (uint8_t mode : {0, 3, 200}) {
        Recording rec;
        withChannels(rec, {1, 23, 22});
        rec.currentMontage.refMode = mode;
        setFrame(rec, 0, {10, 20, 30});
        applyReference(rec, 1);
        EXPECT_EQ(frame(rec, 0), (std::vector<int32_t>{10, 20, 30})) << int(mode);
    }
}

} // namespace
} // namespace viewer::testing
