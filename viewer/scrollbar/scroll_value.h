#pragma once
// The arithmetic of the scroll bar's position, apart from any widget so that each rule can be
// checked on its own numbers.

#include <cstdint>

namespace scrollbar {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double v);

// v cut towards zero to three decimals (2.0009 -> 2.0, -1.2345 -> -1.234). Non-finite values and
// values too large to carry decimals come back unchanged.
double truncateToThousandths(double v);

// The position a write of v leaves: clamped to min, pulled back so that one largeChange still
// fits before max, snapped to whole units (to multiples of largeChange when that is below one)
// and never negative. A non-finite v counts as min. largeChange must be positive.
double acceptedValue(double v, int32_t min, int32_t max, double largeChange);

} // namespace scrollbar
