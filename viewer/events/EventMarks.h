#pragma once
// The reviewer events of a page as the page painter draws them on paper and in files.

#include "EventTypes.h"
#include "event_list.h"
#include "page_painter.h"

#include <QString>

#include <vector>

class CViewerCtrl;

// "10:23:41.250" for `seconds` from the start of the file, by the control's clock.
QString eventClockText(CViewerCtrl& trace, double seconds);

// The lines of the control's montage whose labels the event names (empty: all lines).
std::vector<int> eventLineIndices(CViewerCtrl& trace, const std::vector<std::string>& labels);

// The events overlapping the page from `startSeconds`, `seconds` long, as marks.
std::vector<viewer::PageEventMark> pageEventMarks(const viewer::events::EventList& events,
                                                  const EventTypes& types, CViewerCtrl& trace,
                                                  double startSeconds, double seconds);
