#include "trend_csv.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

namespace viewer::trends {

namespace {

// A text field in CSV: quoted when it holds a comma, a quote or a line break.
std::string field(const std::string& s) {
    if (s.find_first_of(",\"\n\r") == std::string::npos) {
        return s;
    }
    std::string q = "\"";
    for (char c : s) {
        q += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return q + '"';
}

std::string number(double v, int decimals) {
    if (!std::isfinite(v)) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

using RowWriter = std::function<void(std::ofstream&, int segment)>;

bool writeFile(const std::string& path, const std::string& header, const TrendData& d,
               const RowWriter& rows) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << header << '\n';
    for (int s = 0; s < d.segments; ++s) {
        rows(out, s);
    }
    out.flush();
    return static_cast<bool>(out);
}

} // namespace

std::string writeTrendCsv(const std::string& folder, const TrendData& d) {
    const auto path = [&](const char* name) {
        return (std::filesystem::path(folder) / name).string();
    };
    const auto start = [&](int s) { return number(d.start(s), 3); };
    std::string cdsaHeader = "start_s,line";
    for (int b = 0; b < kBins; ++b) {
        cdsaHeader += ',' + number(binHz(b), 1);
    }
    const auto perLine = [&](const std::function<std::string(int s, int line)>& values) {
        return [&, values](std::ofstream& out, int s) {
            for (int i = 0; i < d.lines(); ++i) {
                out << start(s) << ',' << field(d.layout.labels[static_cast<size_t>(i)]) << ','
                    << values(s, i) << '\n';
            }
        };
    };
    const std::pair<const char*, std::pair<std::string, RowWriter>> files[] = {
        {"cdsa.csv", {cdsaHeader, perLine([&](int s, int i) {
                          std::string row;
                          for (int b = 0; b < kBins; ++b) {
                              row += (b == 0 ? "" : ",") + number(d.db(s, i, b), 2);
                          }
                          return row;
                      })}},
        {"aeeg.csv", {"start_s,line,lower_uv,upper_uv", perLine([&](int s, int i) {
                          return number(d.lower[d.at(s, i)], 2) + ',' +
                                 number(d.upper[d.at(s, i)], 2);
                      })}},
        {"asymmetry.csv",
         {"start_s,pair,index",
          [&](std::ofstream& out, int s) {
              for (size_t p = 0; p < d.layout.pairs.size(); ++p) {
                  out << start(s) << ',' << field(d.layout.pairs[p].name) << ','
                      << number(d.asymmetry(s, static_cast<int>(p)), 4) << '\n';
              }
          }}},
        {"suppression.csv", {"start_s,line,percent", perLine([&](int s, int i) {
                                 return number(d.suppression[d.at(s, i)], 1);
                             })}},
    };
    for (const auto& [name, file] : files) {
        if (!writeFile(path(name), file.first, d, file.second)) {
            return path(name);
        }
    }
    return {};
}

} // namespace viewer::trends
