#pragma once
// A montage as the user and the standard montages define it, independent of any recording:
// lines of weighted electrodes named as recordings name them, each with its own look and,
// where given, its own gain and filters ("as the page" where not).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace viewer {

struct MontageTerm {
    std::string electrode; // matched by electrodeKey
    double weight = 1.0;

    bool operator==(const MontageTerm&) const = default;
};

// Notch of a line that keeps its own: off, or on at 50 or 60 Hz.
enum class LineNotch : uint8_t { Off = 0, Hz50 = 1, Hz60 = 2 };

struct MontageLine {
    std::string label;
    std::vector<MontageTerm> terms;
    std::optional<uint32_t> colour; // 0xRRGGBB; none: black
    bool inverted = false;          // drawn upside down (every weight negated)
    std::optional<int32_t> gainUvPerCm;
    std::optional<double> highPassHz; // 0 = off
    std::optional<double> lowPassHz;
    std::optional<LineNotch> notch;
    bool hidden = false; // kept in the definition, not drawn

    bool operator==(const MontageLine&) const = default;
};

struct MontageDefinition {
    std::string name;
    std::vector<MontageLine> lines;

    bool operator==(const MontageDefinition&) const = default;
};

// Where a montage of the list comes from.
enum class MontageSource { Standard, Own };

} // namespace viewer
