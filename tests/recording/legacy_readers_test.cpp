// Recordings of the four older header generations, read into the newest generation's form.

#include "fixtures.h"
#include "legacy_tables.h"
#include "recording_queries.h"
#include "text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

namespace viewer::testing {
namespace {

std::string text(const std::array<char, 6>& label) {
    return std::string(fieldText(label.data(), label.size()));
}

// Four channels whose codes every generation can carry: Fp1, O2, A1 and ECG1+.
RecordingDescription olderRecording(uint8_t headerType) {
    RecordingDescription d;
    d.headerType = headerType;
    const std::pair<uint16_t, const char*> inputs[] = {{1, "Fp1"}, {15, "O2"}, {23, "A1"}};
    for (const auto& [code, label] : inputs) {
        d.order.push_back(code);
        d.electrodes[code] = eegElectrode(label);
    }
    d.order.push_back(167);
    d.electrodes[167] = polygraphicElectrode("ECG1+", "ECG1-", 1600);
    d.frames = 256 * 30;
    d.sample = [](int64_t frame, int channel) {
        return static_cast<int32_t>((frame + channel) % 200);
    };
    d.notes = {note(12 * 256, "Eyes closed"), note(20 * 256, "Eyes open")};
    d.segments = {{3600 * 256, 10 * 256}};
    return d;
}

void patchU32(const std::string& path, std::streamoff at, uint32_t value) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(at);
    const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8),
                           static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
    f.write(bytes, 4);
}

TEST(OldChannelCodes, TranslateThroughTheLowByteTheHighByteOrTheEvenCode) {
    using legacy::translateOldCode;
    EXPECT_EQ(translateOldCode(0x1A05, 0), 5);   // type 0 takes the low byte when hi is 26
    EXPECT_EQ(translateOldCode(0x1A05, 1), 255); // type 1 takes hi = 26 as the key
    EXPECT_EQ(translateOldCode(0x2123, 0), 161); // 0x23 AND 0xFE = 34
    EXPECT_EQ(translateOldCode(0x2123, 1), 161);
    EXPECT_EQ(translateOldCode(0x0016, 1), 167); // low byte 22
    EXPECT_EQ(translateOldCode(0x1400, 0), 171); // high byte 20
    EXPECT_EQ(translateOldCode(0x0085, 0), 255); // keys of 128 and above
    EXPECT_EQ(translateOldCode(0x2190, 1), 255);
    EXPECT_EQ(translateOldCode(0x00FF, 1), 255);
}

TEST(OldGenerations, TypeZeroBuildsItsElectrodesFromTheBuiltInTable) {
    TempDir dir;
    RecordingDescription d = olderRecording(0);
    d.calibrationDivisor = 400;
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    const Recording& r = o.rec;
    EXPECT_EQ(r.header.bytesPerSample, 1);
    EXPECT_EQ(r.header.multiplexer, 4);
    EXPECT_EQ(r.totalSamples, 256 * 30);
    EXPECT_EQ(r.orderTable[0], 1);
    EXPECT_EQ(r.orderTable[3], 167);

    const ElectrodeRecord& fp1 = r.electrodes[1];
    EXPECT_EQ(text(fp1.positiveLabel), "Fp1  ");
    EXPECT_EQ(text(fp1.negativeLabel), "G2   ");
    EXPECT_EQ(fp1.status, 1);
    EXPECT_EQ(fp1.electrodeType, 0);
    EXPECT_EQ(fp1.logicMin, 0);
    EXPECT_EQ(fp1.logicMax, 255);
    EXPECT_EQ(fp1.logicGround, 128);
    EXPECT_EQ(fp1.physicalMax, 200);
    EXPECT_EQ(fp1.physicalMin, -200);
    EXPECT_EQ(fp1.unit, 0);
    EXPECT_EQ(text(r.electrodes[22].positiveLabel), "A2   ");
    EXPECT_EQ(text(r.electrodes[23].positiveLabel), "A1   ");
    EXPECT_EQ(r.electrodes[22].status, 0);
    EXPECT_EQ(text(r.electrodes[40].positiveLabel), "....."); // index 27 in type 0
    EXPECT_EQ(r.electrodes[40].physicalMax, 200);
    EXPECT_EQ(text(r.electrodes[100].positiveLabel), ".....");
    EXPECT_EQ(r.electrodes[100].physicalMax, 0);
    EXPECT_EQ(r.electrodes[100].electrodeType, 0);

    const ElectrodeRecord& ecg = r.electrodes[167];
    EXPECT_EQ(text(ecg.positiveLabel), "ECG1+");
    EXPECT_EQ(text(ecg.negativeLabel), "ECG1-");
    EXPECT_EQ(ecg.electrodeType, 1);
    EXPECT_EQ(ecg.physicalMax, 1600);
    const ElectrodeRecord& dc = r.electrodes[169]; // DC1+, the 20384 range word
    EXPECT_EQ(text(dc.positiveLabel), "DC1+ ");
    EXPECT_EQ(text(dc.negativeLabel), "DC1- ");
    EXPECT_EQ(dc.unit, 1);
    EXPECT_EQ(dc.physicalMax, 1000);
    EXPECT_EQ(dc.physicalMin, -1000);
    EXPECT_EQ(text(r.electrodes[174].positiveLabel), "MKR+ ");
    EXPECT_EQ(text(r.electrodes[200].positiveLabel), ".....");
    EXPECT_EQ(r.electrodes[200].electrodeType, 1);
    EXPECT_EQ(r.electrodes[200].physicalMax, 0);
}

TEST(OldGenerations, TypeOneReadsItsStoredLabelTable) {
    TempDir dir;
    RecordingDescription d = olderRecording(1);
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    EXPECT_EQ(text(o.rec.electrodes[32].positiveLabel), "L65  ");
    EXPECT_EQ(text(o.rec.electrodes[63].positiveLabel), "L64  ");
    EXPECT_EQ(text(o.rec.electrodes[176].positiveLabel), "L96  ");
    EXPECT_EQ(text(o.rec.electrodes[176].negativeLabel), "L97  ");
    EXPECT_EQ(text(o.rec.electrodes[186].positiveLabel), "L124 ");
    EXPECT_EQ(text(o.rec.electrodes[186].negativeLabel), "L125 ");
    EXPECT_EQ(text(o.rec.electrodes[1].positiveLabel), "Fp1  ");

    // An old code of 0x1A05 is a "....." polygraphic input in type 1, acquired all the same.
    d.oldCodes = {0x0001, 0x000F, 0x1A05, 0x0016};
    OpenedRecording odd(dir, d, "odd.vwr");
    ASSERT_TRUE(odd.opened);
    EXPECT_EQ(odd.rec.orderTable[2], 255);
    EXPECT_EQ(odd.rec.electrodes[255].status, 1);
    EXPECT_EQ(odd.rec.electrodes[255].electrodeType, 1);
    EXPECT_EQ(text(odd.rec.electrodes[255].positiveLabel), ".....");
}

TEST(OldGenerations, DivisorsWithoutStepsGiveFlatInputsAndTheFileStillOpens) {
    TempDir dir;
    for (uint16_t g : {0, 801, 65535}) {
        RecordingDescription d = olderRecording(0);
        d.calibrationDivisor = g;
        OpenedRecording o(dir, d);
        ASSERT_TRUE(o.opened) << g;
        EXPECT_EQ(o.rec.electrodes[1].physicalMax, 0) << g;
        EXPECT_EQ(o.rec.electrodes[1].physicalMin, 0) << g;
    }
    RecordingDescription d = olderRecording(0);
    d.calibrationDivisor = 800; // d = 2
    OpenedRecording o(dir, d);
    EXPECT_EQ(o.rec.electrodes[1].physicalMax, 400);
}

TEST(OldGenerations, ReadersRejectWhatTheyCannotUse) {
    TempDir dir;
    for (uint8_t type : {0, 1, 2, 3}) {
        RecordingDescription wide = olderRecording(type);
        while (wide.order.size() < 129) {
            wide.order.push_back(1);
        }
        EXPECT_FALSE(OpenedRecording(dir, wide, "wide.vwr").opened) << int(type);
        RecordingDescription noMonth = olderRecording(type);
        noMonth.birthMonth = 0;
        EXPECT_FALSE(OpenedRecording(dir, noMonth, "birth.vwr").opened) << int(type);
        RecordingDescription month13 = olderRecording(type);
        month13.recMonth = 13;
        EXPECT_FALSE(OpenedRecording(dir, month13, "rec.vwr").opened) << int(type);
        RecordingDescription fine = olderRecording(type);
        EXPECT_TRUE(OpenedRecording(dir, fine, "fine.vwr").opened) << int(type);
    }
    RecordingDescription cut = olderRecording(0);
    cut.frames = 0;
    cut.truncateAt = 6000;
    EXPECT_FALSE(OpenedRecording(dir, cut, "cut.vwr").opened);
}

TEST(OldGenerations, NotesInSecondsLandOnFramesWithinThe32BitField) {
    TempDir dir;
    for (uint8_t type : {0, 2}) {
        RecordingDescription d = olderRecording(type);
        OpenedRecording o(dir, d);
        ASSERT_TRUE(o.opened);
        EXPECT_EQ(o.rec.notes[0].sample, 3072) << int(type);
        EXPECT_EQ(o.rec.notes[1].sample, 5120) << int(type);
        EXPECT_EQ(o.rec.notes[2].sample, 0) << int(type);
        EXPECT_EQ(std::string(fieldText(o.rec.notes[0].text.data(), 39)).substr(0, 11),
                  "Eyes closed");
    }
    RecordingDescription old = olderRecording(0);
    OpenedRecording o(dir, old);
    EXPECT_EQ(o.rec.noteCount, 80);
    EXPECT_EQ(std::string(o.rec.notes[0].text.data() + 20, 20), std::string(20, ' '));

    // Ten million seconds at 256 frames per second does not fit: it stops at the limit.
    RecordingDescription far = olderRecording(2);
    far.notes = {note(0, "far")};
    far.rate = 256;
    std::vector<uint8_t> area(kNoteRecordSize * 2, 0);
    const int32_t seconds = 10'000'000;
    std::memcpy(area.data(), &seconds, 4);
    const int32_t negative = -10'000'000;
    std::memcpy(area.data() + kNoteRecordSize, &negative, 4);
    far.rawAreas[Area::Note] = area;
    OpenedRecording f(dir, far, "far.vwr");
    ASSERT_TRUE(f.opened);
    EXPECT_EQ(f.rec.notes[0].sample, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(f.rec.notes[1].sample, std::numeric_limits<int32_t>::min());
}

TEST(OldGenerations, TypesTwoAndThreeReadTheirAreasWithinTheirScratch) {
    TempDir dir;
    for (uint8_t type : {2, 3}) {
        RecordingDescription d = olderRecording(type);
        d.electrodes[15].avgExcluded = 1;
        d.rawAreas[Area::Order] = {1, 15, 23, 167, 9, 9, 9, 9, 9, 9}; // longer than 4 channels
        OpenedRecording o(dir, d);
        ASSERT_TRUE(o.opened) << int(type);
        EXPECT_EQ(o.rec.orderTable[3], 167);
        EXPECT_EQ(o.rec.orderTable[4], 0);
        EXPECT_EQ(o.rec.electrodes[9].status, 0);
        const ElectrodeRecord& o2 = o.rec.electrodes[15];
        EXPECT_EQ(text(o2.positiveLabel), "O2");
        EXPECT_EQ(o2.logicMax, 65535);
        EXPECT_EQ(o2.logicGround, 32768);
        EXPECT_EQ(o2.physicalMax, 3200);
        EXPECT_EQ(o2.avgExcluded, 1);
        EXPECT_EQ(o2.status, 1);
        EXPECT_EQ(o.rec.electrodes[167].electrodeType, 1);
        EXPECT_EQ(o.rec.electrodes[159].electrodeType, 0);
        EXPECT_EQ(text(o.rec.electrodes[300].positiveLabel), ".....");
        EXPECT_EQ(o.rec.videos[0].startMs, -1);
    }
}

TEST(OldGenerations, ShortAreasFailOrReadAsEmptyRecords) {
    TempDir dir;
    for (uint8_t type : {2, 3}) {
        RecordingDescription d = olderRecording(type);
        writeRecording(dir.file("short.vwr"), d);
        const auto size = static_cast<uint32_t>(std::filesystem::file_size(dir.file("short.vwr")));
        // LABCOD placed so that only its first 100 bytes lie in the file.
        patchU32(dir.file("short.vwr"), kAreaTableOffset + 16 * 1 + 8, size - 100);
        Recording rec;
        EXPECT_EQ(openRecording(rec, dir.file("short.vwr")), type == 2) << int(type);
        if (type == 2) {
            // What the file did not hold reads as empty records, never stale bytes.
            EXPECT_EQ(rec.electrodes[100].physicalMax, 0);
            EXPECT_EQ(rec.electrodes[254].logicGround, 0);
        }
        writeRecording(dir.file("order.vwr"), d);
        patchU32(dir.file("order.vwr"), kAreaTableOffset + 8, size - 2); // ORDER of 4 bytes
        EXPECT_FALSE(openRecording(rec, dir.file("order.vwr"))) << int(type);
    }
}

TEST(OldGenerations, TypeThreeKeepsItsHistoryAndOffersArchivedMontagesByAreaLength) {
    TempDir dir;
    RecordingDescription d = olderRecording(3);
    d.montages = {montage("Old bipolar", {{1, 15}}), montage("Old referential", {{1, 0}})};
    d.history = true;
    d.historySamples = {0, 2560};
    d.historyMontages = {montage("H0", {{1, 15}}), montage("H1", {{15, 1}})};
    OpenedRecording o(dir, d);
    ASSERT_TRUE(o.opened);
    EXPECT_TRUE(o.rec.historyPresent);
    EXPECT_EQ(o.rec.historySamples[1], 2560);
    EXPECT_EQ(queries::GetNumArchivedMontage(o.rec), 2);
    EXPECT_EQ(queries::GetArchivedMontName(o.rec, 1), "Old referential");

    d.rawAreas[Area::Montage] = std::vector<uint8_t>(122880, 0);
    OpenedRecording full(dir, d, "full.vwr");
    EXPECT_EQ(queries::GetNumArchivedMontage(full.rec), 2);
    d.rawAreas[Area::Montage] = std::vector<uint8_t>(100000, 0);
    OpenedRecording odd(dir, d, "odd.vwr");
    EXPECT_EQ(queries::GetNumArchivedMontage(odd.rec), 0);

    RecordingDescription two = olderRecording(2);
    two.montages = d.montages;
    OpenedRecording none(dir, two, "two.vwr");
    EXPECT_FALSE(none.rec.historyPresent);
    EXPECT_EQ(queries::GetNumArchivedMontage(none.rec), 0);
    EXPECT_EQ(queries::GetArchivedMontName(none.rec, 0), "");
}

TEST(OldGenerations, EveryGenerationAnswersTheQueriesAlike) {
    TempDir dir;
    using namespace queries;
    auto reference = std::make_unique<OpenedRecording>(dir, olderRecording(4), "4.vwr");
    ASSERT_TRUE(reference->opened);
    Recording& want = reference->rec;
    for (uint8_t type : {0, 1, 2, 3}) {
        OpenedRecording o(dir, olderRecording(type), std::to_string(type) + ".vwr");
        ASSERT_TRUE(o.opened) << int(type);
        Recording& got = o.rec;
        EXPECT_EQ(GetSurName(got), GetSurName(want));
        EXPECT_EQ(GetName(got), GetName(want));
        EXPECT_EQ(totalTrcSec(got), totalTrcSec(want));
        for (int32_t s : {0, 9, 10, 25}) {
            EXPECT_EQ(GetMont(got, s), GetMont(want, s)) << int(type) << " " << s;
            EXPECT_DOUBLE_EQ(GetDateTimeFromSeconds(got, s), GetDateTimeFromSeconds(want, s));
        }
        for (int32_t n = 0; n < 3; ++n) {
            EXPECT_EQ(GetPosNote(got, n), GetPosNote(want, n)) << int(type) << " " << n;
        }
        int32_t gotFile = 0;
        int32_t wantFile = 0;
        EXPECT_EQ(GetSfasVideo(got, 5000, gotFile), GetSfasVideo(want, 5000, wantFile));
        EXPECT_EQ(gotFile, wantFile);
        EXPECT_EQ(ThereIsVideo(got), ThereIsVideo(want));
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(got.orderTable[c], want.orderTable[c]);
            EXPECT_EQ(got.electrodes[got.orderTable[c]].status, 1);
            EXPECT_EQ(got.electrodes[got.orderTable[c]].electrodeType,
                      want.electrodes[want.orderTable[c]].electrodeType);
        }
    }
}

} // namespace
} // namespace viewer::testing
