#pragma once
// What an EDF signal is to the display: EEG or polygraphic, its values in microvolts, its
// short label, and the electrode record that carries it in the recording model.

#include "edf_layout.h"
#include "records.h"

#include <string>
#include <string_view>

namespace viewer {

// Microvolts per unit of a physical dimension: 1 for "uV" or "µV", 1000 for "mV", 1e6 for
// "V", 0.001 for "nV" (case of the prefix letter kept, as "mV" and "MV" differ); 0 when the
// dimension is not a voltage ("%", "bpm", empty).
double microvoltsPerUnit(std::string_view dimension);

// EEG unless the label starts with a polygraphic type (ECG, EKG, EOG, EMG, Resp, SaO2, SpO2,
// Pleth, Temp, POL, ...; an "EEG" start makes it EEG) or, without a type, its dimension is
// not a voltage.
bool isEegSignal(const EdfSignal& s);

// The label drawn for the signal, at most 6 bytes: for EEG the electrode's name as
// electrodeKey gives it ("EEG Fp1-REF", "EEG FP1" give "Fp1"; T3 to T6 keep their old
// names); for the others the label without its type word ("ECG ECG1+" gives "ECG1+").
std::string shortLabel(const EdfSignal& s);

// The electrode record of signal `s`: acquired, its type, its short label, its digital
// range, its zero level (the digital value of physical 0, whole part in logicGround and the
// rest in groundFraction), its exact microvolts per step, and physical ends in whole units
// of the finest unit that holds them, for readers that take the ranges.
ElectrodeRecord electrodeFor(const EdfSignal& s);

} // namespace viewer
