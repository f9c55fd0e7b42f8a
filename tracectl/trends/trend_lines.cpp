#include "trend_lines.h"

#include "electrode_names.h"
#include "standard_montages.h"

#include <algorithm>
#include <map>
#include <set>

namespace viewer::trends {

namespace {

enum class Side { Left, Right, Other };

// Side of an electrode key by its number: odd left, even right; midline and others none.
Side sideOf(const std::string& key) {
    if (key.empty() || key.back() < '0' || key.back() > '9') {
        return Side::Other;
    }
    size_t digits = key.size();
    while (digits > 0 && key[digits - 1] >= '0' && key[digits - 1] <= '9') {
        --digits;
    }
    return std::stoi(key.substr(digits)) % 2 == 1 ? Side::Left : Side::Right;
}

// The key of the electrode at the mirrored place: the number one up on the left, one down
// on the right.
std::string mirrored(const std::string& key) {
    size_t digits = key.size();
    while (digits > 0 && key[digits - 1] >= '0' && key[digits - 1] <= '9') {
        --digits;
    }
    if (digits == key.size()) {
        return key;
    }
    const int n = std::stoi(key.substr(digits));
    return key.substr(0, digits) + std::to_string(n % 2 == 1 ? n + 1 : n - 1);
}

// Electrode keys of a label: "Fp1-F7" gives Fp1 and F7, "Fp1" gives Fp1.
std::vector<std::string> keysOf(const std::string& label) {
    std::vector<std::string> keys;
    size_t start = 0;
    while (start <= label.size()) {
        const size_t dash = std::min(label.find('-', start), label.size());
        keys.push_back(electrodeKey(label.substr(start, dash - start)));
        start = dash + 1;
    }
    return keys;
}

Side lineSide(const std::vector<std::string>& keys) {
    Side side = Side::Other;
    for (const std::string& k : keys) {
        const Side s = sideOf(k);
        if (s == Side::Other || (side != Side::Other && s != side)) {
            return Side::Other;
        }
        side = s;
    }
    return side;
}

bool temporal(const std::vector<std::string>& keys) {
    static const std::set<std::string> kTemporal = {"F7", "T7", "P7", "F8", "T8", "P8"};
    return std::any_of(keys.begin(), keys.end(),
                       [](const std::string& k) { return kTemporal.count(k) != 0; });
}

} // namespace

const std::array<const char*, kRegionCount>& regionNames() {
    static const std::array<const char*, kRegionCount> names = {
        "Left temporal", "Left parasagittal", "Right parasagittal", "Right temporal"};
    return names;
}

LineLayout layoutOf(const std::vector<std::string>& labels, const std::vector<bool>& present) {
    LineLayout layout{labels, present, {}, {}};
    std::map<std::vector<std::string>, int> rightLines;
    std::vector<std::vector<std::string>> keys;
    for (size_t i = 0; i < labels.size(); ++i) {
        keys.push_back(keysOf(labels[i]));
        const Side side = lineSide(keys.back());
        if (side == Side::Other || !present[i]) {
            continue;
        }
        const bool isTemporal = temporal(keys.back());
        const Region r = side == Side::Left ? (isTemporal ? kLeftTemporal : kLeftParasagittal)
                                            : (isTemporal ? kRightTemporal : kRightParasagittal);
        layout.regions[r].push_back(static_cast<int>(i));
        if (side == Side::Right) {
            rightLines.emplace(keys.back(), static_cast<int>(i));
        }
    }
    for (size_t i = 0; i < labels.size(); ++i) {
        if (!present[i] || lineSide(keys[i]) != Side::Left) {
            continue;
        }
        std::vector<std::string> mirror;
        for (const std::string& k : keys[i]) {
            mirror.push_back(mirrored(k));
        }
        const auto it = rightLines.find(mirror);
        if (it != rightLines.end()) {
            layout.pairs.push_back({static_cast<int>(i), it->second,
                                    labels[i] + " / " + labels[static_cast<size_t>(it->second)]});
        }
    }
    return layout;
}

TrendMontage chooseMontage(const std::vector<std::string>& eegElectrodes,
                           const TrendMontage& onScreen) {
    std::set<std::string> have;
    for (const std::string& n : eegElectrodes) {
        have.insert(electrodeKey(n));
    }
    for (const MontageDefinition& def : standardMontages(eegElectrodes)) {
        if (def.name != "Double banana") {
            continue;
        }
        const auto derivable = std::count_if(def.lines.begin(), def.lines.end(), [&](auto& l) {
            return std::all_of(l.terms.begin(), l.terms.end(), [&](const MontageTerm& t) {
                return have.count(electrodeKey(t.electrode)) != 0;
            });
        });
        if (2 * static_cast<size_t>(derivable) >= def.lines.size()) {
            return {def.name, def};
        }
    }
    return onScreen;
}

} // namespace viewer::trends
