#pragma once
// Electrode names as recordings and montage files write them, matched to one place on the
// head: case is ignored, an "EEG " prefix and a reference suffix ("-REF", "-LE", "-A1", ...)
// are dropped, and the old temporal names T3, T4, T5, T6 stand for T7, T8, P7, P8.

#include <string>
#include <string_view>

namespace viewer {

// The key under which `name` is matched: the 10-10 spelling of the place it names ("Fp1",
// "T7", "Cz") when it is one, else the name itself trimmed and in capitals without prefix
// and reference suffix. Empty for a name with nothing left.
std::string electrodeKey(std::string_view name);

// `s` in capitals (ASCII letters only), as names are compared.
std::string upperCase(std::string_view s);

// True when `a` and `b` name the same electrode (their keys are equal and not empty).
bool sameElectrode(std::string_view a, std::string_view b);

} // namespace viewer
