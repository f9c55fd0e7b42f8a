#pragma once
// The trends as CSV files: cdsa.csv, aeeg.csv, asymmetry.csv and suppression.csv, one row
// per segment and line (or pair), values not computed left empty.

#include "trend_data.h"

#include <string>

namespace viewer::trends {

// Writes the four files into `folder` (which must exist). Returns an empty text, or the
// file that could not be written.
std::string writeTrendCsv(const std::string& folder, const TrendData& data);

} // namespace viewer::trends
