#pragma once
// Reviewer events on pages for paper and files: translucent bands and lines over the traces
// in the colour of their type, and the list of the page's events under the header.

#include "page_painter.h"

#include <QPainter>
#include <QRect>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace viewer {

// Lines of the list under the header: one per event, the last one saying how many more
// there are when the page holds over kListedEvents.
inline constexpr int kListedEvents = 8;
QStringList eventListLines(const std::vector<PageEventMark>& events);

// Writes `lines` one under the other from `top`, at the painter's font.
void drawEventList(QPainter& p, const QStringList& lines, int top);

// The marks over `traces` (label column `labelWidth` wide, rows at `rowCentre`) of a page
// `pageSeconds` long: a span as a band across its lines, an instant as a line; each with its
// title at the top.
void drawEventMarks(QPainter& p, const std::vector<PageEventMark>& events, const QRect& traces,
                    int32_t labelWidth, const std::vector<int32_t>& rowCentre, float pageSeconds);

} // namespace viewer
