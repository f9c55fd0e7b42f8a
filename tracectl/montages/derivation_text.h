#pragma once
// A line's derivation as a technician types it: a sum of weighted electrodes such as
// "F3 - F7", "Cz - 0.5 C3 - 0.5 C4", "F3 - avg" (less the mean of the recording's EEG
// electrodes) or "Pz - avg(P3, P4, O1, O2)". Names holding blanks, signs or commas are written
// in double quotes ("EEG Fp1-REF").

#include "montage_definition.h"

#include <string>
#include <string_view>
#include <vector>

namespace viewer {

struct DerivationParse {
    std::vector<MontageTerm> terms;
    std::string error; // empty when the text read; else what is wrong and where

    bool ok() const { return error.empty(); }
};

// The terms as text: each weight before its electrode ("0.5 C3"; 1 and -1 as a sign only),
// and a run of three or more terms of one weight written as that weight times "avg(...)", or
// "avg" when the run's electrodes are `average` in its order.
std::string derivationText(const std::vector<MontageTerm>& terms,
                           const std::vector<std::string>& average);

// Reads `text` as derivationText writes it (blanks optional, "*" allowed between a weight and
// its electrode, "avg" standing for `average`): the terms in the order written, a weight
// before "avg" shared among its electrodes. An empty text gives no terms. A failure names
// the first thing not understood and gives no terms.
DerivationParse parseDerivation(std::string_view text, const std::vector<std::string>& average);

// A short label for the terms: the derivation text without the blanks around signs.
std::string derivationLabel(const std::vector<MontageTerm>& terms,
                            const std::vector<std::string>& average);

} // namespace viewer
