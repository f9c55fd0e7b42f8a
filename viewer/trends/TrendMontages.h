#pragma once
// The montage trends are computed on for the recording open in a trace control: the
// "Double banana" when the recording has enough of its electrodes, else the montage on
// screen; or any montage of the montage list by name.

#include "trend_lines.h"

#include <QString>

#include <vector>

class CViewerCtrl;

// The montage on screen in `trace`: the definition of a standard or own montage shown (found
// by name in `definitions`), else the recording's montage in force.
viewer::trends::TrendMontage
montageOnScreen(const CViewerCtrl& trace,
                const std::vector<viewer::MontageDefinition>& definitions);

// The "Double banana" of the recording open in `trace`, or the montage on screen.
viewer::trends::TrendMontage
trendMontage(const CViewerCtrl& trace, const std::vector<viewer::MontageDefinition>& definitions);
