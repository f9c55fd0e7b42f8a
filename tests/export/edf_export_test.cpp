#include "edf_export.h"
#include "edf_writer.h"
#include "page_loading.h"
#include "recording_queries.h"
#include "recording_writer.h"
#include "stretches.h"
#include "temp_dir.h"

#include <edflib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

namespace edf = viewer::edf;
namespace vt = viewer::testing;
using edf::ExportRequest;
using edf::ExportResult;
using vt::RecordingDescription;
using Outcome = ExportResult::Outcome;

// The file as edflib reads it.
struct ReadBack {
    explicit ReadBack(const std::string& path) {
        ok = edfopen_file_readonly(path.c_str(), hdr.get(), EDFLIB_READ_ALL_ANNOTATIONS) == 0;
    }
    ~ReadBack() {
        if (ok) {
            edfclose_file(hdr->handle);
        }
    }
    double physical(int signal, int64_t sample) {
        double v = NAN;
        edfseek(hdr->handle, signal, sample, EDFSEEK_SET);
        edfread_physical_samples(hdr->handle, signal, 1, &v);
        return v;
    }
    std::vector<std::pair<long long, std::string>> notes() {
        std::vector<std::pair<long long, std::string>> out(hdr->annotations_in_file);
        for (size_t i = 0; i < out.size(); ++i) {
            edf_annotation_struct a{};
            edf_get_annotation(hdr->handle, static_cast<int>(i), &a);
            out[i] = {a.onset, a.annotation};
        }
        return out;
    }
    std::unique_ptr<edf_hdr_struct> hdr = std::make_unique<edf_hdr_struct>();
    bool ok = false;
};

// Four channels at 100 frames per second for 10 s; channel 1 spans every 32-bit value. With a
// cut, the clock is 25 s later from frame 500 on.
RecordingDescription described(uint8_t generation, uint16_t bytes, bool cut) {
    RecordingDescription d;
    d.segments = {{cut ? 3000 : 0, 500}};
    d.headerType = generation, d.bytesPerSample = bytes, d.rate = 100, d.frames = 1000;
    d.surname = "M\xDCLLER", d.name = "Jos\xE9";
    d.order = {1, 2, 3, 4};
    d.electrodes[1] = vt::eegElectrode("Fp1");
    const auto in = [](viewer::ElectrodeRecord e, int16_t unit) {
        e.unit = unit;
        return e;
    };
    d.electrodes[2] = in(vt::polygraphicElectrode("ECG1+", "ECG1-", 5), 1);
    d.electrodes[3] = in(vt::polygraphicElectrode("EOG1+", "EOG1-", 90000), -1);
    d.electrodes[4] = in(vt::eegElectrode("Cz\xE9"), 7); // unknown unit: microvolts
    d.electrodes[4].logicMax = d.electrodes[4].logicMin; // a range without width
    if (bytes == 4) {
        d.electrodes[1].logicMin = -8388608, d.electrodes[1].logicMax = 8388607;
        d.electrodes[2].logicMin = INT32_MIN, d.electrodes[2].logicMax = INT32_MAX;
    }
    d.sample = [](int64_t f, int c) {
        return c == 1 ? static_cast<int32_t>(static_cast<uint32_t>(f) * 2654435761u)
                      : static_cast<int32_t>((f * 7919 + c * 1001) % 60000);
    };
    d.notes = {vt::note(-5, "Start"), vt::note(150, "Occhi chiusi"),
               vt::note(420, "Crisi " + std::string(33, '\xE8')), vt::note(700, "Dopo")};
    return d;
}

struct Fixture {
    Fixture(uint8_t generation, uint16_t bytes, bool cut = false)
        : d(described(generation, bytes, cut)) {
        vt::writeRecording(dir.file("rec.vwr"), d);
        EXPECT_TRUE(viewer::openRecording(rec, dir.file("rec.vwr")));
    }
    ExportResult run(int64_t first = 0, int64_t end = -1, bool overwrite = false,
                     std::function<bool(int64_t, int64_t)> progress = {}) {
        return edf::exportRecording(
            rec,
            ExportRequest{dir.file("out.edf"), first, end, overwrite, std::move(progress), {}, {}});
    }
    RecordingDescription d;
    vt::TempDir dir;
    viewer::Recording rec;
};

struct WidthCase {
    uint8_t generation, bytes;
    int fileType;
};

class SampleWidths : public ::testing::TestWithParam<WidthCase> {};

TEST_P(SampleWidths, FirstMiddleAndLastFrameOfEveryChannelReadBackAsRecorded) {
    const WidthCase wc = GetParam();
    Fixture fx(wc.generation, wc.bytes);
    const ExportResult r = fx.run();
    ASSERT_EQ(r.outcome, Outcome::Written) << r.error;
    ReadBack back(r.files.at(0));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.hdr->filetype, wc.fileType);
    ASSERT_EQ(back.hdr->edfsignals, 4);
    const int64_t mask = wc.bytes == 4 ? -1 : (int64_t{1} << (8 * wc.bytes)) - 1;
    for (int c = 0; c < 3; ++c) {
        const viewer::ElectrodeRecord& e = fx.rec.electrodes[fx.rec.orderTable[c]];
        const edf_param_struct& s = back.hdr->signalparam[c];
        const double step = (s.phys_max - s.phys_min) / (s.dig_max - s.dig_min);
        const bool scaled = int64_t{e.logicMax} - e.logicMin > int64_t{s.dig_max} - s.dig_min;
        for (int64_t f : {0, 517, 999}) {
            const int64_t v = wc.bytes == 4 ? fx.d.sample(f, c) : fx.d.sample(f, c) & mask;
            const double want = e.physicalMin + static_cast<double>(v - e.logicMin) *
                                                    (e.physicalMax - e.physicalMin) /
                                                    (int64_t{e.logicMax} - e.logicMin);
            // A range scaled into 24 bits may be one 24-bit step off; others are exact.
            const double tolerance = scaled ? std::abs(s.phys_max - s.phys_min) / 16777215 * 1.01
                                            : std::abs(step) * 1e-3;
            EXPECT_NEAR(back.physical(c, f), want, tolerance) << "channel " << c << " frame " << f;
        }
    }
}

constexpr int kEdf = EDFLIB_FILETYPE_EDFPLUS;
INSTANTIATE_TEST_SUITE_P(Generations, SampleWidths,
                         ::testing::Values(WidthCase{4, 2, kEdf}, WidthCase{4, 1, kEdf},
                                           WidthCase{3, 2, kEdf}, WidthCase{0, 1, kEdf},
                                           WidthCase{4, 4, EDFLIB_FILETYPE_BDFPLUS}));

std::string trimmed(const char* s) {
    return std::string(s).substr(0, std::string(s).find_last_not_of(' ') + 1);
}

TEST(EdfExport, SignalsPatientStartAndNotesOfTheWholeRecording) {
    Fixture fx(4, 2);
    ReadBack back(fx.run().files.at(0));
    ASSERT_TRUE(back.ok);
    const char* signals[][2] = {
        {"EEG Fp1", "uV"}, {"ECG ECG1+", "mV"}, {"EOG EOG1+", "nV"}, {"EEG Cze", "uV"}};
    for (int c = 0; c < 4; ++c) {
        const edf_param_struct& s = back.hdr->signalparam[c];
        EXPECT_EQ(trimmed(s.label) + " " + trimmed(s.physdimension),
                  std::string(signals[c][0]) + " " + signals[c][1]);
        EXPECT_EQ(s.smp_in_datarecord, 100);
        EXPECT_LT(s.dig_min, s.dig_max); // a range without width still makes a valid signal
    }
    const edf_param_struct& fp1 = back.hdr->signalparam[0];
    EXPECT_EQ(
        std::vector<double>({fp1.phys_min, fp1.phys_max, 1.0 * fp1.dig_min, 1.0 * fp1.dig_max}),
        std::vector<double>({-3200, 3200, -32768, 32767}));
    EXPECT_EQ(back.hdr->datarecord_duration, EDFLIB_TIME_DIMENSION);
    const edf_hdr_struct& h = *back.hdr;
    char fields[160];
    std::snprintf(fields, sizeof fields, "%s|%d.%d.%d|%d.%d.%d %d:%d", h.patient_name,
                  h.birthdate_day, h.birthdate_month, h.birthdate_year, h.startdate_day,
                  h.startdate_month, h.startdate_year, h.starttime_hour, h.starttime_minute);
    EXPECT_STREQ(fields, "MULLER, Jose|15.6.1980|3.11.2026 9:30");
    std::string crisis = "Crisi "; // cut to the 40 bytes a note keeps, on a character boundary
    for (int i = 0; i < 17; ++i) {
        crisis += "\u00e8";
    }
    const std::vector<std::pair<long long, std::string>> notes = {
        {100000, "Start"}, {15000000, "Occhi chiusi"}, {42000000, crisis}, {70000000, "Dopo"}};
    EXPECT_EQ(back.notes(), notes);
}

TEST(EdfExport, EventsGoBesideTheNotesAsAnnotationsWithTheirDurations) {
    Fixture fx(4, 2, true); // frames 0-499 and 500-999 in two files
    ExportRequest request{fx.dir.file("out.edf"), 100, -1, false, {}, {}, {}};
    request.annotations = {
        {1234, 0, "Spike [Fp1]"}, {6500, 250, "Seizure: onset"}, {500, 0, "before the range"}};
    const ExportResult r = edf::exportRecording(fx.rec, request);
    ASSERT_EQ(r.files.size(), 2U) << r.error;
    EXPECT_EQ(std::make_pair(r.events, r.eventsOutside), std::make_pair(2, 1));
    EXPECT_NE(edf::summaryLine(r, 100).find("2 events (events outside"), std::string::npos);
    constexpr long long kNone = -10000000; // edflib's "no duration"
    using Annotation = std::tuple<long long, long long, std::string>;
    const std::vector<std::vector<Annotation>> want = {
        {{2340000, kNone, "Spike [Fp1]"},
         {5000000, kNone, "Occhi chiusi"},
         {32000000, kNone, "Crisi"}},
        {{15000000, 2500000, "Seizure: onset"}, {20000000, kNone, "Dopo"}}};
    for (size_t f = 0; f < 2; ++f) {
        ReadBack back(r.files[f]);
        ASSERT_TRUE(back.ok);
        std::vector<Annotation> got;
        for (long long i = 0; i < back.hdr->annotations_in_file; ++i) {
            edf_annotation_struct a{};
            edf_get_annotation(back.hdr->handle, static_cast<int>(i), &a);
            const std::string text = a.annotation;
            got.emplace_back(a.onset, a.duration_l,
                             text.substr(0, text.rfind("Crisi", 0) == 0 ? 5 : text.size()));
        }
        std::ranges::sort(got);
        EXPECT_EQ(got, want[f]) << f;
    }
}

struct PartCase {
    int64_t first, end;
    bool cut;
    // Per file: start second of the day, sub-second start (100 ns), note onsets (100 ns).
    std::vector<std::tuple<int, long long, std::vector<long long>>> files;
};

class Parts : public ::testing::TestWithParam<PartCase> {};

TEST_P(Parts, EachFileStartsAtItsClockTimeWithItsOwnNotes) {
    Fixture fx(4, 2, GetParam().cut);
    const ExportResult r = fx.run(GetParam().first, GetParam().end);
    ASSERT_EQ(r.files.size(), GetParam().files.size()) << r.error;
    for (size_t i = 0; i < r.files.size(); ++i) {
        const auto& [second, subsecond, onsets] = GetParam().files[i];
        ReadBack back(r.files[i]);
        ASSERT_TRUE(back.ok);
        const edf_hdr_struct& h = *back.hdr;
        EXPECT_EQ(h.starttime_hour * 3600 + h.starttime_minute * 60 + h.starttime_second, second);
        EXPECT_EQ(h.starttime_subsecond, subsecond);
        std::vector<long long> got;
        std::ranges::transform(back.notes(), std::back_inserter(got),
                               [](auto& n) { return n.first; });
        EXPECT_EQ(got, onsets) << r.files[i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stretches, Parts,
    ::testing::Values(
        PartCase{250, 750, false, {{34202, 5000000, {17000000, 45000000}}}},
        PartCase{0, -1, true, {{34200, 0, {100000, 15000000, 42000000}}, {34230, 0, {20000000}}}}));

TEST(EdfExport, TimesNameFramesAndCancelledOrRefusedExportsLeaveFilesAlone) {
    Fixture fx(4, 2, true);
    const std::pair<const char*, int64_t> times[] = {
        {"2.5", 250}, {"09:30:02", 200}, {"09:30:10", 500}, {"09:30:31", 600}, {"23:00", 1000}};
    for (const auto& [text, frame] : times) {
        EXPECT_EQ(edf::frameAtTime(fx.rec, text), frame) << text;
    }
    EXPECT_FALSE(edf::frameAtTime(fx.rec, "9:3x"));
    // Cancelled while the second file is written: the first, already finished, goes too.
    const ExportResult cancelled =
        fx.run(0, -1, false, [](int64_t done, int64_t total) { return done < total; });
    EXPECT_EQ(cancelled.outcome, Outcome::Cancelled);
    EXPECT_FALSE(std::filesystem::exists(fx.dir.file("out-1.edf")));
    EXPECT_FALSE(std::filesystem::exists(fx.dir.file("out-2.edf")));
    EXPECT_EQ(fx.run(1000).outcome, Outcome::Failed); // no frames to write

    std::ofstream(fx.dir.file("out.edf")) << "keep";
    EXPECT_EQ(fx.run(600).outcome, Outcome::Failed);
    EXPECT_EQ(std::filesystem::file_size(fx.dir.file("out.edf")), 4u);
    EXPECT_EQ(fx.run(600, -1, true).outcome, Outcome::Written);
    EXPECT_TRUE(ReadBack(fx.dir.file("out.edf")).ok);
}

TEST(EdfExport, TheFormatTheNameAsksForIsWrittenOrRefusedWhenTheSamplesDoNotFitIt) {
    EXPECT_EQ(edf::formatNamed("a/x.BDF"), ExportRequest::Format::Bdf);
    EXPECT_EQ(edf::formatNamed("x.edf"), ExportRequest::Format::Edf);
    EXPECT_FALSE(edf::formatNamed("x.txt"));
    Fixture two(4, 2);
    ExportRequest bdf;
    bdf.output = two.dir.file("out.bdf");
    bdf.format = ExportRequest::Format::Bdf;
    const ExportResult wide = edf::exportRecording(two.rec, bdf);
    EXPECT_EQ(wide.files, std::vector<std::string>{two.dir.file("out.bdf")});
    EXPECT_TRUE(wide.bdf && ReadBack(two.dir.file("out.bdf")).ok);
    // 24-bit samples do not fit EDF+'s 16 bits: refused, nothing written.
    Fixture four(4, 4);
    ExportRequest narrow;
    narrow.output = four.dir.file("out.edf");
    narrow.format = ExportRequest::Format::Edf;
    const ExportResult refused = edf::exportRecording(four.rec, narrow);
    EXPECT_EQ(refused.outcome, Outcome::Failed);
    EXPECT_NE(refused.error.find("channel 1"), std::string::npos) << refused.error;
    EXPECT_FALSE(std::filesystem::exists(four.dir.file("out.edf")));
}

} // namespace

// An exported recording opened again: every channel's microvolts on "all electrodes" within
// the export's quantisation, and the notes at the same places with the texts written.
TEST(EdfRoundTrip, ExportedRecordingOpensWithItsValuesAndNotes) {
    Fixture fx(4, 2);
    const ExportResult r = fx.run();
    std::vector<double> steps; // microvolts per EDF step of each signal
    std::vector<std::pair<long long, std::string>> written;
    {
        ReadBack back(r.files.at(0)); // edflib opens a file once at a time
        for (int c = 0; c < 3; ++c) {
            const edf_param_struct& s = back.hdr->signalparam[c];
            steps.push_back(std::abs((s.phys_max - s.phys_min) / (s.dig_max - s.dig_min)) *
                            (c == 1 ? 1000 : (c == 2 ? 0.001 : 1)));
        }
        written = back.notes();
    }
    viewer::Recording again;
    ASSERT_TRUE(viewer::openRecording(again, r.files.at(0)));
    ASSERT_EQ(again.header.numChannels, 4);
    EXPECT_EQ(again.totalSamples, fx.rec.totalSamples);
    for (viewer::Recording* rec : {&fx.rec, &again}) {
        rec->pageBuffer.assign(viewer::kPageBufferValues, 0);
        viewer::LoadPage(*rec, 0, 1000);
    }
    for (int c = 0; c < 3; ++c) {
        for (int64_t f : {0, 517, 999}) {
            // The trace's step divides its range by one step more than EDF's: up to one step.
            EXPECT_NEAR(vt::channelMicrovolts(again, c, f), vt::channelMicrovolts(fx.rec, c, f),
                        1.01 * steps[static_cast<size_t>(c)])
                << "channel " << c << " frame " << f;
        }
    }
    ASSERT_EQ(again.edf->notes.size(), written.size());
    for (size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(again.edf->notes[i].text, written[i].second);
        EXPECT_FLOAT_EQ(viewer::queries::GetPosNote(again, static_cast<int32_t>(i)),
                        viewer::queries::GetPosNote(fx.rec, static_cast<int32_t>(i)));
    }
}
