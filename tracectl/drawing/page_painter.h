#pragma once
// The page for paper and files: the page as the control shows it, drawn onto any paint
// device at that device's own resolution, with a header line and a calibration bar. Lines
// keep their gain in microvolts per centimetre of the device and the page fills the width.

#include "static_layer.h"
#include "trace_colours.h"
#include "trace_model.h"

#include <QPainter>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

namespace viewer {

// What the header line tells besides the page length and paper speed.
struct PageHeader {
    QString patient;
    QString date;          // recording date
    QString clock;         // clock time of the page's start
    QString montage;       // montage name
    int32_t gain = -1;     // µV/cm; -1 when the lines differ
    int32_t highPass = -1; // thousandths of a hertz; -1 when the lines differ, 0 off
    int32_t lowPass = -1;  // hundredths of a hertz; -1 when the lines differ, 0 off
    int notchHz = 0;       // 0 off
};

// A reviewer event on the page, for pages on paper and in files.
struct PageEventMark {
    double startSeconds = 0; // from the page's start; may lie before it
    double seconds = 0;      // length; 0 for an instant
    QRgb colour = 0;
    QString title;          // type and comment, written at the top of the mark
    QString listed;         // its line in the list under the header ("10:23:41.250 Spike ...")
    std::vector<int> lines; // montage lines it concerns; empty for all
};

struct PagePaintSettings {
    StaticLayerSettings look;  // background, grid, label font, labels over the traces
    double dotsPerInch = 96.0; // of the device, both ways
    PageHeader header;
    std::vector<PageEventMark> events; // drawn over the page and listed under the header
};

// Where things landed, in device pixels.
struct PagePaintResult {
    QRect traces; // the rows' area, label column included
    int32_t labelWidth = 0;
    std::vector<int32_t> rowCentre;
    double pixelsPerCm = 0.0;
    double mmPerSecond = 0.0; // paper speed
    QRect calibration;        // the bar: 1 s wide, 1 cm (`gain` µV) tall
    QString headerText;
};

// The header line: patient, date, clock time, montage, gain, filters, notch, page length
// and paper speed.
QString pageHeaderText(const PageHeader& header, float pageSeconds, double mmPerSecond);

// Paints the loaded page of `model` into `area` of `p`'s device (device pixels): header
// line, the list of the page's events, labels, grid, notes, event marks, traces (vector polylines,
// or written straight into an RGB32 image) and calibration bar. Computes the line values. Nothing
// but the header without lines.
PagePaintResult paintPage(QPainter& p, const QRect& area, TraceModel& model,
                          const TraceColours& colours, const PagePaintSettings& settings);

} // namespace viewer
