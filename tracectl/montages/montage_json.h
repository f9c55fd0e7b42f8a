#pragma once
// A montage definition as a JSON document, the form of the user's montage files:
// {"name": "...", "lines": [{"label": "...", "terms": [{"electrode": "F3", "weight": 1}],
//   "colour": "#0000c0", "inverted": false, "gain_uv_per_cm": null, "high_pass_hz": null,
//   "low_pass_hz": null, "notch": null, "hidden": false}]}
// null (or a missing field) means "as the page"; docs/notes/montages.md describes each field.

#include "montage_definition.h"

#include <QByteArray>
#include <QString>

namespace viewer {

// Reads `bytes` into `out`. False, with `error` saying what and where (line numbers from 1)
// and `out` untouched, when it is not JSON or a field is missing, of the wrong type or out
// of range. Fields the format does not know are ignored.
bool montageFromJson(const QByteArray& bytes, MontageDefinition& out, QString& error);

// `def` as an indented JSON document with every field of every line (null where the line
// follows the page).
QByteArray montageToJson(const MontageDefinition& def);

} // namespace viewer
