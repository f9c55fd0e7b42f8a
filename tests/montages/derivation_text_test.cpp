// Derivations as typed in the montage editor: read into weighted terms, written back the same,
// and refused with the place of the fault.

#include "derivation_text.h"
#include "standard_montages.h"

#include <gtest/gtest.h>

namespace viewer::testing {
namespace {

const std::vector<std::string> kAverage = {"Fp1", "F3", "C3"};

TEST(DerivationText, ReadsTermsInTheOrderWritten) {
    struct Case {
        const char* text;
        std::vector<MontageTerm> terms;
    };
    const double third = 1.0 / 3.0;
    const Case cases[] = {
        {"F3 - F7", {{"F3", 1}, {"F7", -1}}},
        {" -Cz+0.5 C3 +0.5*C4 ", {{"Cz", -1}, {"C3", 0.5}, {"C4", 0.5}}},
        {"2 Fp1 - 1.5 F7", {{"Fp1", 2}, {"F7", -1.5}}},
        {"F3 - avg", {{"F3", 1}, {"Fp1", -third}, {"F3", -third}, {"C3", -third}}},
        {"Pz - 2 AVG(P3, \"EEG P4-REF\")", {{"Pz", 1}, {"P3", -1}, {"EEG P4-REF", -1}}},
        {"\"EEG Fp1-REF\" - \"avg\"", {{"EEG Fp1-REF", 1}, {"avg", -1}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        const DerivationParse read = parseDerivation(c.text, kAverage);
        EXPECT_TRUE(read.ok()) << c.text << ": " << read.error;
        EXPECT_EQ(read.terms, c.terms) << c.text;
    }
}

TEST(DerivationText, RefusesWhatItCannotReadAndSaysWhere) {
    const std::pair<const char*, const char*> cases[] = {
        {"F3 F7", "a + or - expected at character 4"},
        {"F3 - 0 F7", "a weight (a number other than 0) expected at character 6"},
        {"F3 - 1.2.3 F7", "a weight (a number other than 0) expected at character 6"},
        {"F3 -", "an electrode name expected at character 5"},
        {"F3 - avg(C3 C4)", "a , or ) expected at character 13"},
        {"F3 - \"\"", "an electrode name between quotes expected at character 6"},
    };
    for (const auto& [text, error] : cases) {
        const DerivationParse read = parseDerivation(text, kAverage);
        EXPECT_EQ(read.error, error) << text;
        EXPECT_TRUE(read.terms.empty()) << text;
    }
    EXPECT_FALSE(parseDerivation("F3 - avg", {}).ok()) << "nothing to average";
}

// Every line of every standard montage written as text reads back to the same terms, with
// the common average's mean written "avg" and runs of one weight as averages.
TEST(DerivationText, StandardMontagesReadBackExactly) {
    const std::vector<std::string> names = {"Fp1", "Fp2", "F7", "F3", "Fz", "F4",        "F8", "T3",
                                            "C3",  "Cz",  "C4", "T4", "T5", "P3",        "Pz", "P4",
                                            "T6",  "O1",  "O2", "A1", "A2", "EEG X1-REF"};
    const std::vector<std::string> average = commonAverageElectrodes(names);
    EXPECT_EQ(average.size(), names.size() - 2) << "ears left out";
    for (const MontageDefinition& m : standardMontages(names)) {
        for (const MontageLine& l : m.lines) {
            const std::string text = derivationText(l.terms, average);
            const DerivationParse read = parseDerivation(text, average);
            EXPECT_EQ(read.terms, l.terms) << m.name << ": " << text;
        }
    }
    const MontageDefinition ears = standardMontages(names)[3];
    EXPECT_EQ(derivationText(ears.lines[0].terms, average), "Fp1 - 0.5 A1 - 0.5 A2");
    EXPECT_EQ(derivationLabel(ears.lines[0].terms, average), "Fp1-0.5 A1-0.5 A2");
    const MontageDefinition common = standardMontages(names)[2];
    EXPECT_EQ(derivationText(common.lines[0].terms, average), "Fp1 - avg");
    const MontageDefinition laplacian = standardMontages(names)[4];
    EXPECT_EQ(derivationText(laplacian.lines[0].terms, average), "Fp1 - avg(Fp2, F7, F3)");
}

} // namespace
} // namespace viewer::testing
