// EDF, EDF+ and BDF files read into the recording model.
#include "edf_reader.h"
#include "edf_signal_kinds.h"
#include "edf_writer.h"
#include "page_loading.h"
#include "recording_queries.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace {

namespace vt = viewer::testing;
using viewer::Recording;

struct Opened {
    explicit Opened(const vt::EdfDescription& d) {
        vt::writeEdf(dir.file("rec.edf"), d);
        ok = viewer::openRecording(rec, dir.file("rec.edf"));
        rec.pageBuffer.assign(viewer::kPageBufferValues, 0);
    }
    double microvolts(int c, uint32_t f) const { return vt::channelMicrovolts(rec, c, f); }
    vt::TempDir dir;
    Recording rec;
    bool ok = false;
};

vt::EdfSignalDescription sig(std::string label, int n = 256, std::string dim = "uV") {
    vt::EdfSignalDescription s;
    s.label = std::move(label), s.samplesPerRecord = n, s.dimension = std::move(dim);
    return s;
}

TEST(EdfSignals, LabelsNameTheirElectrodeAndTypeFromPrefixOrDimension) {
    struct Case {
        const char *label, *dimension, *shown;
        bool eeg;
    };
    for (const Case& c :
         {Case{"EEG Fp1-REF", "uV", "Fp1", true}, Case{"FP1", "uV", "Fp1", true},
          Case{"EEG FP1", "uV", "Fp1", true}, Case{"EEG T3-LE", "uV", "T3", true},
          Case{"EEG C4-A1", "mV", "C4", true}, Case{"ECG ECG1+", "mV", "ECG1+", false},
          Case{"EOG-L", "uV", "EOG-L", false}, Case{"SpO2", "%", "SpO2", false},
          Case{"Pos", "", "Pos", false}, Case{"EEG Pz", "bpm", "Pz", true}}) {
        const viewer::EdfSignal s{c.label, c.dimension, -1, 1, -1, 1, 1, 0};
        EXPECT_EQ(viewer::shortLabel(s), c.shown) << c.label;
        EXPECT_EQ(viewer::isEegSignal(s), c.eeg) << c.label;
    }
}

TEST(EdfValues, PhysicalValuesInMicrovoltsWhateverTheUnitAndBdfExtremes) {
    struct Case {
        bool bdf;
        const char *dimension, *physicalMin, *physicalMax;
        int32_t digitalMin, digitalMax, value;
        double microvolts;
    };
    const double uvStep = 6553.5 / 65535;
    for (const Case& c :
         {Case{false, "uV", "-3276.8", "3276.7", -32768, 32767, 1000, -3276.8 + 33768 * uvStep},
          Case{false, "mV", "-5", "5", -2048, 2047, -2048, -5000.0},
          Case{false, "mV", "-5", "5", -2048, 2047, 2047, 5000.0},
          Case{false, "V", "0", "0.001", 0, 1000, 500, 500.0},
          Case{false, "nV", "-100000", "100000", -1000, 1000, 10, 1.0},
          Case{true, "uV", "-262144", "262143", -8388608, 8388607, -8388608, -262144.0},
          Case{true, "uV", "-262144", "262143", -8388608, 8388607, 8388607, 262143.0}}) {
        vt::EdfDescription d;
        d.bdf = c.bdf, d.reserved = c.bdf ? "BDF+C" : "EDF+C", d.annotationBytes = 60;
        vt::EdfSignalDescription s = sig("EEG Cz", 4, c.dimension);
        s.physicalMin = c.physicalMin, s.physicalMax = c.physicalMax;
        s.digitalMin = c.digitalMin, s.digitalMax = c.digitalMax;
        d.channels = {s};
        d.sample = [&c](int64_t, int, int) { return c.value; };
        Opened o(d);
        ASSERT_TRUE(o.ok) << c.dimension;
        EXPECT_TRUE(viewer::LoadPage(o.rec, 0, 8));
        EXPECT_NEAR(o.microvolts(0, 5), c.microvolts, 1e-9 * std::abs(c.microvolts) + 1e-9)
            << c.dimension << " " << c.value;
    }
}

TEST(EdfValues, SignalsAtOtherRatesAreHeldOnTheFramesOfTheEegAndTheAnnotationsNotDrawn) {
    vt::EdfDescription d;
    d.annotationBytes = 120, d.records = 3;
    d.channels = {sig("EEG Fp1", 256), sig("ECG", 512, "mV"), sig("SaO2", 1, "%"),
                  sig("EEG A1", 256)};
    d.sample = [](int64_t r, int s, int k) {
        return static_cast<int32_t>(r * 1000 + s * 10000 + k);
    };
    Opened o(d);
    ASSERT_TRUE(o.ok);
    EXPECT_EQ(o.rec.header.rate, 256);
    EXPECT_EQ(o.rec.header.numChannels, 4);
    EXPECT_EQ(o.rec.orderTable[3], 23); // the left ear's code, for the ear reference
    EXPECT_EQ(viewer::queries::totalTrcSec(o.rec), 3);
    ASSERT_FALSE(viewer::LoadPage(o.rec, 300, 600)); // past the end: the rest at zero level
    const int32_t* b = o.rec.pageBuffer.data();
    for (int f : {0, 1, 211, 255}) { // frames 300 + f: record 1 or 2
        const int64_t r = (300 + f) / 256, k = (300 + f) % 256;
        EXPECT_EQ(b[f * 4 + 0], r * 1000 + k);
        EXPECT_EQ(b[f * 4 + 1], r * 1000 + 10000 + 2 * k);
        EXPECT_EQ(b[f * 4 + 2], r * 1000 + 20000);
    }
    EXPECT_EQ(b[599 * 4 + 0], o.rec.electrodes[o.rec.orderTable[0]].logicGround);
}

TEST(EdfClock, DiscontinuousFilesGiveTheClockAcrossTheirGapsAndNotesWithDurationsAndWholeTexts) {
    vt::EdfDescription d;
    d.reserved = "EDF+D", d.annotationBytes = 900, d.records = 4;
    d.channels = {sig("EEG Cz", 100)};
    // Records at 0, 1, 5 and 6 s: a gap of 3 s after the second.
    d.onset = [](int64_t r) { return r < 2 ? r : r + 3.0; };
    const std::string longText = "Crisi " + std::string(300, 'x') + " \xc3\xa8 fine";
    d.tals = [&longText](int64_t r) {
        switch (r) {
        case 0:
            return vt::tal(0, -1, "Start") + vt::tal(0.5, 2.25, "Apnoea");
        case 1:
            return vt::tal(3, -1, "In the gap") + vt::tal(1.5, -1, longText);
        case 3:
            return vt::tal(6.25, 10, "A") + std::string("\x14\x14\0", 3);
        default:
            return std::string();
        }
    };
    Opened o(d);
    ASSERT_TRUE(o.ok);
    Recording& r = o.rec;
    EXPECT_EQ(viewer::queries::totalTrcSec(r), 4);
    // 09:30:00 start: file seconds 0, 1 then 2, 3 at 5 and 6 s of the clock.
    for (auto [second, clock] : {std::pair{0, 34200}, {1, 34201}, {2, 34205}, {3, 34206}}) {
        EXPECT_EQ(viewer::queries::GetMont(r, second), clock) << second;
    }
    const std::vector<std::pair<float, std::string>> want = {
        {0.01f, "Start"}, {0.5f, "Apnoea"}, {1.5f, longText}, {2.0f, "In the gap"}, {3.25f, "A"}};
    ASSERT_EQ(r.edf->notes.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_FLOAT_EQ(viewer::queries::GetPosNote(r, static_cast<int32_t>(i)), want[i].first);
        EXPECT_EQ(r.edf->notes[i].text, want[i].second);
    }
    EXPECT_EQ(viewer::queries::GetPosNote(r, 5), 0.0f); // the end of the list
    EXPECT_DOUBLE_EQ(r.edf->notes[1].duration, 2.25);
    EXPECT_DOUBLE_EQ(r.edf->notes[4].duration, 10);
}

TEST(EdfNotes, ThousandsOfAnnotationsAreAllReachableAndThoseReadLaterJoinInOrder) {
    vt::EdfDescription d;
    d.annotationBytes = 400, d.records = 600;
    d.channels = {sig("EEG Cz", 10)};
    d.tals = [](int64_t r) {
        return vt::tal(r + 0.5, -1, "n" + std::to_string(r)) +
               vt::tal(r + 0.25, -1, "m" + std::to_string(r));
    };
    Opened o(d);
    ASSERT_TRUE(o.ok);
    ASSERT_EQ(o.rec.edf->notes.size(), 1200u);
    EXPECT_FLOAT_EQ(viewer::queries::GetPosNote(o.rec, 1199), 599.5f);
    Recording later;
    ASSERT_TRUE(viewer::openRecording(later, o.dir.file("rec.edf"), viewer::NotesReading::Start));
    EXPECT_LT(later.edf->notes.size(), 1200u);
    EXPECT_TRUE(viewer::readMoreEdfNotes(later, -1));
    ASSERT_EQ(later.edf->notes.size(), 1200u);
    for (size_t i = 0; i < 1200; ++i) {
        EXPECT_EQ(later.edf->notes[i].text, o.rec.edf->notes[i].text);
        EXPECT_EQ(later.edf->notes[i].text[0], i % 2 ? 'n' : 'm');
    }
}

TEST(EdfRefusals, FilesThatCannotBeShownAreRefusedWithTheReasonInWords) {
    struct Case {
        std::function<void(vt::EdfDescription&)> spoil;
        const char* words;
    };
    for (const Case& c : {
             Case{[](auto& d) { d.records = 11; }, ""}, // written with 10 records' data below
             Case{[](auto& d) { d.channels.clear(); }, "only annotations"},
             Case{[](auto& d) { d.headerBytesField = "999"; }, "number of signals or the header"},
             Case{[](auto& d) {
                      d.channels[0].physicalMin = "1";
                      d.channels[0].physicalMax = "1";
                  },
                  "EDF rules"},
             Case{[](auto& d) {
                      d.recordSeconds = "1000";
                      d.channels[0].samplesPerRecord = 1;
                  },
                  "fewer than one sample"},
         }) {
        vt::EdfDescription d;
        d.annotationBytes = 60, d.channels = {sig("EEG Cz", 4)};
        c.spoil(d);
        vt::TempDir dir;
        vt::writeEdf(dir.file("bad.edf"), d);
        if (d.records == 11) { // a file shorter than its header says
            std::filesystem::resize_file(dir.file("bad.edf"), 256 * 3 + 10 * (8 + 60));
        }
        Recording rec;
        EXPECT_FALSE(viewer::openRecording(rec, dir.file("bad.edf")));
        EXPECT_TRUE(rec.fileInvalid);
        const std::string why = viewer::edfRefusalReason(dir.file("bad.edf"));
        EXPECT_NE(why.find(*c.words ? c.words : "EDF rules"), std::string::npos) << why;
    }
}

} // namespace
