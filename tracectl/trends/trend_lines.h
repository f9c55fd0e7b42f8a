#pragma once
// The lines trends are computed on: a montage put in force on a reader of its own, their
// regions (left temporal, left parasagittal, right parasagittal, right temporal) and their
// homologous pairs (a left line and the right line of the mirrored electrodes).

#include "montage_definition.h"
#include "records.h"

#include <array>
#include <string>
#include <variant>
#include <vector>

namespace viewer::trends {

// A montage by name: a definition (standard or one's own) or a recorded montage record.
struct TrendMontage {
    std::string name;
    std::variant<MontageDefinition, MontageRecord> lines;
};

enum Region { kLeftTemporal = 0, kLeftParasagittal, kRightParasagittal, kRightTemporal };
constexpr int kRegionCount = 4;

// Captions of the regions, in Region order.
const std::array<const char*, kRegionCount>& regionNames();

struct LinePair {
    int left = 0;
    int right = 0;
    std::string name; // "Fp1-F7 / Fp2-F8"
};

struct LineLayout {
    std::vector<std::string> labels;
    std::vector<bool> present; // the recording has every electrode of the line
    std::array<std::vector<int>, kRegionCount> regions;
    std::vector<LinePair> pairs;
};

// Regions and pairs of lines labelled `labels` ("A-B" or a single electrode): a line whose
// electrodes are all on the left (odd numbers) or all on the right (even) belongs to its
// side's temporal region when it touches F7, T7 or P7 (F8, T8, P8; T3 T5 T4 T6 alike), else
// to the parasagittal one; midline and mixed lines to none. A left line and a present right
// line of the mirrored electrodes form a pair.
LineLayout layoutOf(const std::vector<std::string>& labels, const std::vector<bool>& present);

// The "Double banana" for `eegElectrodes` when at least half of its lines can be derived
// from them; otherwise `onScreen`.
TrendMontage chooseMontage(const std::vector<std::string>& eegElectrodes,
                           const TrendMontage& onScreen);

} // namespace viewer::trends
