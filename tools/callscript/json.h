#pragma once
// Just enough JSON for one object per call: text escaping and number formatting.

#include <QString>

#include <string>

namespace tracecall {

// `s` as a quoted JSON string.
std::string jsonString(const std::string& s);
inline std::string jsonString(const QString& s) { return jsonString(s.toStdString()); }

// Shortest decimal that reads back as the same value; null when not finite.
std::string jsonFloat(float v);
std::string jsonDouble(double v);

} // namespace tracecall
