#pragma once
// Events as short texts for other formats and for reading them without the window.

#include "event_record.h"
#include "sidecar_place.h"

#include <string>
#include <vector>

namespace viewer::events {

// "Spike [Fp1 F3,T3]: sharp and high" — type, lines when it has any, comment when there is one.
std::string annotationText(const Event& e);

// The events of a recording for reading only (exports, pages): its sidecar, or the one it is
// seeded from, without the lock. Lines that do not parse are left out and named in `warning`.
std::vector<Event> readEventsOnly(const SidecarPlace& place, std::string& warning);

} // namespace viewer::events
