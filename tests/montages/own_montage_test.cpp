// Electrode-name matching, the standard montages on recordings with and without every
// electrode, weighted lines, inversion, and lines that keep their own gain and filters.

#include "electrode_names.h"
#include "line_settings.h"
#include "recording_writer.h"
#include "standard_montages.h"
#include "temp_dir.h"
#include "trace_model.h"

#include <gtest/gtest.h>

#include <cmath>

namespace viewer::testing {
namespace {

constexpr int kRate = 256;

int32_t sample(int64_t frame, int channel) {
    return static_cast<int32_t>(32768 + 40 * (channel + 1) + (frame * (channel + 7)) % 97 - 48);
}

// The EEG electrodes `names`, electrode codes from 1, an ECG, 256 Hz, 4 s; one archived
// montage (gain 100, high-pass 1.6 Hz) so that a montage with settings can be in force.
RecordingDescription recording(const std::vector<std::string>& names) {
    RecordingDescription d;
    for (size_t i = 0; i < names.size(); ++i) {
        d.order.push_back(static_cast<uint16_t>(i + 1));
        d.electrodes[static_cast<int>(i + 1)] = eegElectrode(names[i]);
    }
    d.order.push_back(167);
    d.electrodes[167] = polygraphicElectrode("ECG", "ECG-", 3200);
    d.rate = kRate;
    d.frames = 4 * kRate;
    d.sample = sample;
    MontageRecord m = montage("Archived", {{1, 2}});
    m.gain[0] = 100;
    m.highPass[0] = 1600;
    d.montages = {m};
    return d;
}

const std::vector<std::string> kOldNames = {"Fp1", "Fp2", "F7", "F3", "Fz", "F4", "F8",
                                            "T3",  "C3",  "Cz", "C4", "T4", "T5", "P3",
                                            "Pz",  "P4",  "T6", "O1", "O2", "A1", "A2"};
// New names in other cases, without O2 and A2.
const std::vector<std::string> kPartial = {"FP1", "FP2", "f7", "F3", "FZ", "F4", "F8",
                                           "T7",  "C3",  "CZ", "C4", "T8", "P7", "P3",
                                           "PZ",  "P4",  "P8", "O1", "A1"};
const std::vector<std::string> kNoStandardNames = {"E1", "E2", "E3"};

struct Opened {
    TempDir dir;
    TraceModel model;
    std::vector<std::string> names;

    explicit Opened(const std::vector<std::string>& electrodes) : names(electrodes) {
        writeRecording(dir.file("r.vwr"), recording(electrodes));
        EXPECT_TRUE(model.open(dir.file("r.vwr"), false).opened);
    }
    // Shows `def`, its page filters off, and computes the page at 0.
    void show(const MontageDefinition& def, bool filtersOff = true) {
        ASSERT_TRUE(model.useOwnMontage(def));
        if (filtersOff) {
            setEegFilter(model.recording(), FilterSetting::HighPass, 0);
            setEegFilter(model.recording(), FilterSetting::LowPass, 100000);
            model.recomputeFilters();
        }
        bool switched = false;
        ASSERT_TRUE(model.seekPage(0, false, switched));
        model.loadPage();
        model.computeLineValues();
    }
    // What line `line` of `def` should show at frame f: its weighted electrodes less their
    // zero level; NaN when the recording lacks one of them.
    double expected(const MontageLine& line, int64_t f) const {
        double v = 0.0;
        for (const MontageTerm& t : line.terms) {
            size_t c = 0;
            while (c < names.size() && !sameElectrode(names[c], t.electrode)) {
                ++c;
            }
            if (c == names.size()) {
                return std::nan("");
            }
            v += t.weight * (sample(f, static_cast<int>(c)) - 32768);
        }
        return line.inverted ? -v : v;
    }
};

TEST(ElectrodeNames, OldAndNewNamesPrefixesSuffixesAndCaseMatch) {
    const struct {
        const char* name;
        const char* key;
    } cases[] = {{"T3", "T7"},
                 {"t4", "T8"},
                 {"EEG T5-REF", "P7"},
                 {"eeg t6-le", "P8"},
                 {"EEG FP1-A1", "Fp1"},
                 {" fz ", "Fz"},
                 {"CPZ-AVG", "CPz"},
                 {"Fp1-F7", "FP1-F7"},
                 {"EEG ECG1", "ECG1"},
                 {"-REF", "-REF"},
                 {"", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(electrodeKey(c.name), c.key) << c.name;
    }
    EXPECT_TRUE(sameElectrode("EEG T3-REF", "t7"));
    EXPECT_FALSE(sameElectrode("T3", "T4"));
    EXPECT_FALSE(sameElectrode("", " "));
}

// Each standard montage on a recording with every electrode (old names), on one without
// O2 and A2 (new names, other cases) and on one with none of their electrodes: lines, lines
// not present, and every present line's values against its electrodes.
TEST(StandardMontages, LinesOnFullAndPartialRecordings) {
    const struct {
        const std::vector<std::string>& names;
        std::vector<std::pair<int, int>> linesAndMissing; // per standard montage
    } cases[] = {{kOldNames, {{18, 0}, {14, 0}, {19, 0}, {19, 0}, {19, 0}}},
                 {kPartial, {{18, 2}, {14, 1}, {19, 1}, {19, 19}, {19, 1}}},
                 {kNoStandardNames, {{18, 18}, {14, 14}, {22, 19}, {19, 19}, {19, 19}}}};
    for (const auto& c : cases) {
        Opened r(c.names);
        const std::vector<MontageDefinition> standard = standardMontages(c.names);
        ASSERT_EQ(standard.size(), 5u);
        for (size_t s = 0; s < standard.size(); ++s) {
            const MontageDefinition& def = standard[s];
            EXPECT_EQ(def.name, standardMontageNames()[s]);
            r.show(def);
            const Recording& rec = r.model.recording();
            ASSERT_EQ(rec.currentMontage.numLines, c.linesAndMissing[s].first) << def.name;
            int missing = 0;
            for (int i = 0; i < rec.currentMontage.numLines; ++i) {
                const std::span<const float> v = r.model.lineValues(i);
                const double want = r.expected(def.lines[i], 700);
                missing += rec.derivations[i].kind == kUnavailable ? 1 : 0;
                EXPECT_EQ(rec.derivations[i].kind == kUnavailable, std::isnan(want)) << i;
                if (!std::isnan(want)) {
                    EXPECT_NEAR(v[700], want, 1e-3) << def.name << " line " << i;
                }
            }
            EXPECT_EQ(missing, c.linesAndMissing[s].second) << def.name;
        }
    }
    // The means are over the electrodes present: 18 scalp electrodes, P4's three neighbours.
    const std::vector<MontageDefinition> partial = standardMontages(kPartial);
    EXPECT_DOUBLE_EQ(partial[2].lines[0].terms.back().weight, -1.0 / 18);
    EXPECT_EQ(partial[4].lines[15].label, "P4-Lap");
    EXPECT_EQ(partial[4].lines[15].terms.size(), 4u);
    EXPECT_EQ(standardMontages(kOldNames)[0].lines[1].label, "F7-T3") << "the recording's names";
}

MontageLine weighted(const char* label, std::vector<MontageTerm> terms, bool inverted = false) {
    MontageLine l;
    l.label = label;
    l.terms = std::move(terms);
    l.inverted = inverted;
    return l;
}

// A line of weights 1, -0.5, -0.5 is the mean of the two bipolar lines it spans, through the
// page's filters too; an inverted line is the line upside down.
TEST(WeightedLines, SpanTheirBipolarLinesAndInvert) {
    Opened r(kOldNames);
    const MontageLine mean = weighted("F3-mean", {{"F3", 1}, {"F7", -0.5}, {"Fz", -0.5}});
    MontageLine inverted = mean;
    inverted.inverted = true;
    const MontageDefinition def{"Weighted",
                                {weighted("F3-F7", {{"F3", 1}, {"F7", -1}}),
                                 weighted("F3-Fz", {{"F3", 1}, {"Fz", -1}}), mean, inverted}};
    r.show(def, false);
    const auto v = [&r](int i) { return r.model.lineValues(i); };
    EXPECT_EQ(r.model.recording().derivations[2].kind, kWeighted);
    ASSERT_EQ(v(0).size(), 10u * kRate) << "a 10 s page";
    for (size_t f = 0; f < v(0).size(); f += 37) {
        EXPECT_NEAR(v(2)[f], (v(0)[f] + v(1)[f]) / 2, 1e-3) << f;
        EXPECT_EQ(v(3)[f], -v(2)[f]) << f;
    }
}

// A line with its own gain, filters and notch keeps them whatever the page's settings do;
// lines without follow the montage in force before and every later change.
TEST(WeightedLines, OwnSettingsAgainstThePages) {
    Opened r(kOldNames);
    Recording& rec = r.model.recording();
    r.model.chooseMontage(30, 50); // archived: gain 100, high-pass 1.6 Hz
    MontageLine own = weighted("own", {{"O1", 1}, {"O2", -1}});
    own.gainUvPerCm = 150;
    own.highPassHz = 1.0;
    own.lowPassHz = 15.0;
    own.notch = LineNotch::Hz60;
    r.show({"Settings", {weighted("page", {{"O1", 1}, {"O2", -1}}), own}}, false);
    const MontageRecord& m = rec.currentMontage;
    EXPECT_EQ(m.gain[0], 100) << "the page's gain";
    EXPECT_EQ(m.highPass[0], 1600u);
    setEegGain(rec, 200);
    setEegFilter(rec, FilterSetting::HighPass, 300);
    setEegFilter(rec, FilterSetting::LowPass, 3000);
    const int32_t steps[] = {100, 200, 500, -1};
    EXPECT_TRUE(stepGains(rec, steps, true)) << "the own gain has no step and needs none";
    r.model.setNotch(1);
    EXPECT_EQ(std::vector<int32_t>(m.gain.begin(), m.gain.begin() + 2),
              (std::vector<int32_t>{500, 150}));
    EXPECT_EQ(m.highPass[1], 1000u);
    EXPECT_EQ(m.lowPass[1], 1500u);
    EXPECT_EQ(eegGain(rec), 500) << "the line with its own gain is not the page's";
    EXPECT_EQ(prevailingFilter(rec, FilterSetting::HighPass), 300);
    LineFilter expected;
    expected.configure(kRate, 2, 1000, 1500);
    const LineFilter& line = r.model.filters().line(1);
    EXPECT_EQ(line.coefficients().L, expected.coefficients().L) << "60 Hz notch of its own";
    EXPECT_EQ(line.coefficients().K, expected.coefficients().K);
    EXPECT_TRUE(r.model.filters().line(0).notchOn());
    r.model.chooseMontage(31, 50); // a montage of the recording ends the own one
    EXPECT_FALSE(rec.own.inForce);
}

} // namespace
} // namespace viewer::testing
