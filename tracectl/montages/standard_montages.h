#pragma once
// The standard montages of clinical EEG, built for the electrodes a recording has: the
// double banana, a transverse chain, the common average, linked ears and a Laplacian.

#include "montage_definition.h"

#include <string>
#include <vector>

namespace viewer {

// The names of the standard montages, in the order they are offered.
const std::vector<std::string>& standardMontageNames();

// The standard montages for a recording whose EEG electrodes are named `eegElectrodes` (as
// the recording writes them). Lines name the recording's own spelling of an electrode it
// has and the 10-20 name of one it lacks, so such a line shows as not present. "Common
// average" and "Laplacian" take their means over the electrodes present; "Linked ears"
// uses A1 and A2, or M1 and M2 when the recording has those and not the ears.
// The electrodes whose mean "Common average" takes: the EEG electrodes of `eegElectrodes`
// less the ears and mastoids, in their order and spelling.
std::vector<std::string> commonAverageElectrodes(const std::vector<std::string>& eegElectrodes);

std::vector<MontageDefinition> standardMontages(const std::vector<std::string>& eegElectrodes);

} // namespace viewer
