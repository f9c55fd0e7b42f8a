#include "electrode_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <utility>
#include <vector>

namespace viewer {

namespace {

// Places of the 10-10 system (and the ear and mastoid electrodes) in their usual spelling.
constexpr std::string_view kPlaces[] = {
    "Fp1", "Fpz", "Fp2", "AF7", "AF3", "AFz",  "AF4", "AF8", "F9",  "F7",  "F5",  "F3",
    "F1",  "Fz",  "F2",  "F4",  "F6",  "F8",   "F10", "FT9", "FT7", "FC5", "FC3", "FC1",
    "FCz", "FC2", "FC4", "FC6", "FT8", "FT10", "A1",  "T9",  "T7",  "C5",  "C3",  "C1",
    "Cz",  "C2",  "C4",  "C6",  "T8",  "T10",  "A2",  "TP9", "TP7", "CP5", "CP3", "CP1",
    "CPz", "CP2", "CP4", "CP6", "TP8", "TP10", "P9",  "P7",  "P5",  "P3",  "P1",  "Pz",
    "P2",  "P4",  "P6",  "P8",  "P10", "PO7",  "PO3", "POz", "PO4", "PO8", "O1",  "Oz",
    "O2",  "Iz",  "M1",  "M2",  "Nz",  "PO9",  "PO10"};

// Old names of four temporal places and the names that replaced them.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kOldNames = {
    {{"T3", "T7"}, {"T4", "T8"}, {"T5", "P7"}, {"T6", "P8"}}};

// What follows a hyphen when it only names the reference the electrode was recorded against.
constexpr std::string_view kReferenceSuffixes[] = {"REF", "LE",  "RE",   "AR", "AV",
                                                   "AVG", "CAR", "A1",   "A2", "A1A2",
                                                   "M1",  "M2",  "M1M2", "G2", "GND"};

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\0'; };
    while (!s.empty() && blank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && blank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

} // namespace

std::string upperCase(std::string_view s) {
    std::string u(s);
    std::transform(u.begin(), u.end(), u.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return u;
}

std::string electrodeKey(std::string_view name) {
    std::string key = upperCase(trimmed(name));
    if (key.rfind("EEG ", 0) == 0) {
        key = upperCase(trimmed(std::string_view(key).substr(4)));
    }
    const size_t hyphen = key.rfind('-');
    if (hyphen != std::string::npos && hyphen > 0) {
        const std::string suffix = key.substr(hyphen + 1);
        if (std::find(std::begin(kReferenceSuffixes), std::end(kReferenceSuffixes), suffix) !=
            std::end(kReferenceSuffixes)) {
            key = upperCase(trimmed(std::string_view(key).substr(0, hyphen)));
        }
    }
    for (const auto& [old, current] : kOldNames) {
        if (key == old) {
            key = upperCase(current);
        }
    }
    // The places in capitals, made once.
    static const std::vector<std::pair<std::string, std::string_view>> kUpper = [] {
        std::vector<std::pair<std::string, std::string_view>> places;
        for (std::string_view place : kPlaces) {
            places.emplace_back(upperCase(place), place);
        }
        return places;
    }();
    for (const auto& [capitals, place] : kUpper) {
        if (key == capitals) {
            return std::string(place);
        }
    }
    return key;
}

bool sameElectrode(std::string_view a, std::string_view b) {
    const std::string key = electrodeKey(a);
    return !key.empty() && key == electrodeKey(b);
}

} // namespace viewer
