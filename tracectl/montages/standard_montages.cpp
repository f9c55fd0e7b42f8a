#include "standard_montages.h"

#include "electrode_names.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <utility>

namespace viewer {

namespace {

using Pairs = std::vector<std::pair<const char*, const char*>>;

// The 19 electrodes of the 10-20 system, front to back, left to right.
const std::vector<std::string> kTenTwenty = {"Fp1", "Fp2", "F7", "F3", "Fz", "F4", "F8",
                                             "T7",  "C3",  "Cz", "C4", "T8", "P7", "P3",
                                             "Pz",  "P4",  "P8", "O1", "O2"};

// Longitudinal bipolar chains: left temporal, left parasagittal, midline, right
// parasagittal, right temporal, each front to back.
const Pairs kDoubleBanana = {{"Fp1", "F7"}, {"F7", "T7"}, {"T7", "P7"}, {"P7", "O1"}, {"Fp1", "F3"},
                             {"F3", "C3"},  {"C3", "P3"}, {"P3", "O1"}, {"Fz", "Cz"}, {"Cz", "Pz"},
                             {"Fp2", "F4"}, {"F4", "C4"}, {"C4", "P4"}, {"P4", "O2"}, {"Fp2", "F8"},
                             {"F8", "T8"},  {"T8", "P8"}, {"P8", "O2"}};

// Transverse bipolar chains, left to right, from the front row to the back.
const Pairs kTransverse = {{"Fp1", "Fp2"}, {"F7", "F3"}, {"F3", "Fz"}, {"Fz", "F4"}, {"F4", "F8"},
                           {"T7", "C3"},   {"C3", "Cz"}, {"Cz", "C4"}, {"C4", "T8"}, {"P7", "P3"},
                           {"P3", "Pz"},   {"Pz", "P4"}, {"P4", "P8"}, {"O1", "O2"}};

// Nearest neighbours of each 10-20 electrode on the grid.
const std::map<std::string, std::vector<std::string>> kNeighbours = {
    {"Fp1", {"Fp2", "F7", "F3"}},     {"Fp2", {"Fp1", "F4", "F8"}},
    {"F7", {"Fp1", "F3", "T7"}},      {"F3", {"Fp1", "F7", "Fz", "C3"}},
    {"Fz", {"F3", "F4", "Cz"}},       {"F4", {"Fp2", "Fz", "F8", "C4"}},
    {"F8", {"Fp2", "F4", "T8"}},      {"T7", {"F7", "C3", "P7"}},
    {"C3", {"F3", "T7", "Cz", "P3"}}, {"Cz", {"Fz", "C3", "C4", "Pz"}},
    {"C4", {"F4", "Cz", "T8", "P4"}}, {"T8", {"F8", "C4", "P8"}},
    {"P7", {"T7", "P3", "O1"}},       {"P3", {"C3", "P7", "Pz", "O1"}},
    {"Pz", {"Cz", "P3", "P4"}},       {"P4", {"C4", "Pz", "P8", "O2"}},
    {"P8", {"T8", "P4", "O2"}},       {"O1", {"P7", "P3", "O2"}},
    {"O2", {"P8", "P4", "O1"}}};

constexpr uint32_t kLeft = 0x0000C0;
constexpr uint32_t kRight = 0xC00000;
constexpr uint32_t kMidline = 0x000000;

// The recording's EEG electrodes by key, in the recording's spelling.
class Present {
public:
    explicit Present(const std::vector<std::string>& names) {
        for (const std::string& n : names) {
            const std::string key = electrodeKey(n);
            if (!key.empty() && spelling_.emplace(key, n).second) {
                keys_.push_back(key);
            }
        }
    }
    bool has(const std::string& key) const { return spelling_.count(key) != 0; }
    // The recording's name of `key`, or the key itself when it lacks it.
    std::string name(const std::string& key) const {
        const auto it = spelling_.find(key);
        return it == spelling_.end() ? key : it->second;
    }
    const std::vector<std::string>& keys() const { return keys_; }

private:
    std::map<std::string, std::string> spelling_;
    std::vector<std::string> keys_; // in the recording's order
};

// Left (odd number), right (even number) or midline ("z") colour of an electrode.
uint32_t sideColour(const std::string& key) {
    const char last = key.empty() ? 'z' : key.back();
    if (last >= '0' && last <= '9') {
        return (last - '0') % 2 == 1 ? kLeft : kRight;
    }
    return kMidline;
}

MontageLine line(const Present& p, const std::string& key, const std::string& suffix) {
    MontageLine l;
    l.label = p.name(key) + "-" + suffix;
    l.terms.push_back({p.name(key), 1.0});
    l.colour = sideColour(key);
    return l;
}

MontageDefinition bipolar(const char* name, const Pairs& pairs, const Present& p) {
    MontageDefinition d{name, {}};
    for (const auto& [a, b] : pairs) {
        MontageLine l = line(p, a, p.name(b));
        l.terms.push_back({p.name(b), -1.0});
        d.lines.push_back(l);
    }
    return d;
}

// Each of `keys` less the mean of `reference` (those present), labelled KEY-`suffix`.
MontageDefinition referential(const char* name, const std::vector<std::string>& keys,
                              const std::vector<std::string>& reference, const char* suffix,
                              const Present& p) {
    MontageDefinition d{name, {}};
    for (const std::string& key : keys) {
        MontageLine l = line(p, key, suffix);
        for (const std::string& r : reference) {
            l.terms.push_back({p.name(r), -1.0 / static_cast<double>(reference.size())});
        }
        d.lines.push_back(l);
    }
    return d;
}

bool isEar(const std::string& key) {
    return key == "A1" || key == "A2" || key == "M1" || key == "M2";
}

// The keys of the electrodes present less the ears and mastoids, in the recording's order.
std::vector<std::string> scalpKeys(const Present& p) {
    std::vector<std::string> scalp;
    std::copy_if(p.keys().begin(), p.keys().end(), std::back_inserter(scalp),
                 [](const std::string& key) { return !isEar(key); });
    return scalp;
}

MontageDefinition commonAverage(const Present& p) {
    std::vector<std::string> lines = kTenTwenty;
    const std::vector<std::string> scalp = scalpKeys(p);
    for (const std::string& key : scalp) {
        if (std::find(lines.begin(), lines.end(), key) == lines.end()) {
            lines.push_back(key);
        }
    }
    return referential("Common average", lines, scalp, "Avg", p);
}

MontageDefinition linkedEars(const Present& p) {
    const bool mastoids = p.has("M1") && p.has("M2") && !(p.has("A1") && p.has("A2"));
    const std::vector<std::string> ears =
        mastoids ? std::vector<std::string>{"M1", "M2"} : std::vector<std::string>{"A1", "A2"};
    const std::string suffix = p.name(ears[0]) + "+" + p.name(ears[1]);
    return referential("Linked ears", kTenTwenty, ears, suffix.c_str(), p);
}

MontageDefinition laplacian(const Present& p) {
    MontageDefinition d{"Laplacian", {}};
    for (const std::string& key : kTenTwenty) {
        std::vector<std::string> around;
        for (const std::string& n : kNeighbours.at(key)) {
            if (p.has(n)) {
                around.push_back(n);
            }
        }
        if (around.empty()) {
            around.push_back(kNeighbours.at(key).front()); // shows the line as not present
        }
        MontageDefinition one = referential("", {key}, around, "Lap", p);
        d.lines.push_back(one.lines.front());
    }
    return d;
}

} // namespace

const std::vector<std::string>& standardMontageNames() {
    static const std::vector<std::string> kNames = {"Double banana", "Transverse", "Common average",
                                                    "Linked ears", "Laplacian"};
    return kNames;
}

std::vector<std::string> commonAverageElectrodes(const std::vector<std::string>& eegElectrodes) {
    const Present p(eegElectrodes);
    std::vector<std::string> names;
    for (const std::string& key : scalpKeys(p)) {
        names.push_back(p.name(key));
    }
    return names;
}

std::vector<MontageDefinition> standardMontages(const std::vector<std::string>& eegElectrodes) {
    const Present p(eegElectrodes);
    return {bipolar("Double banana", kDoubleBanana, p), bipolar("Transverse", kTransverse, p),
            commonAverage(p), linkedEars(p), laplacian(p)};
}

} // namespace viewer
