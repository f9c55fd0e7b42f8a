#pragma once
// A montage of the recording (the one in force) as a definition, so that the user can start
// a montage of their own from it.

#include "montage_definition.h"
#include "recording.h"

#include <array>
#include <cstdint>

namespace viewer {

// The recorded montage in force on `rec` (not an own montage): one line per line that draws
// a trace (value lines left out), its label as shown, its electrodes by their labels with
// weights 1 (inputA) and -1 (inputB), the reference (code 0) left out; its colour from
// `palette` (0xRRGGBB by colour index); gain and filters its own only where they differ
// from the montage's prevailing ones (pageSettingsOf), else as the page. Named after the
// montage.
MontageDefinition recordedDefinition(const Recording& rec, const std::array<uint32_t, 48>& palette);

} // namespace viewer
