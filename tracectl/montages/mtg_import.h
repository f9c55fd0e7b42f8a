#pragma once
// Another reviewer's montage files (".mtg": XML, one "signalcomposition" per trace) read as a
// montage definition. What the definition cannot hold is reported, never guessed.

#include "montage_definition.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace viewer {

struct MtgImport {
    MontageDefinition montage;
    QStringList notMapped; // one sentence per setting or line left out
};

// Reads the XML `bytes` as montage `name`: each trace a line of its signals' labels weighted
// by their factors, its alias (or the composed labels) as label, polarity -1 inverted, the
// colour index as its colour, "voltpercm" as its own gain; a first-order Butterworth high-
// or low-pass and a 50 or 60 Hz notch as its own filters. Other filters, offsets, unknown
// colours, gains below 1 and the page time are named in `notMapped`; a trace that names a
// signal by its place in a file ("edfindex") is left out and named. False, with `error` and
// `out` untouched, when the text is not such a file (not XML, another root, no trace, a trace
// whose signals do not match their count, a number that does not read).
bool importMtg(const QByteArray& bytes, const std::string& name, MtgImport& out, QString& error);

} // namespace viewer
