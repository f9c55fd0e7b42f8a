#pragma once
// The recipes that fill a graph for one file, step by step in a fixed order: the AVC build
// (transport streams, "mts" and "mpe"), and the general build with its ASF case and its
// case for every other file, which has the MPEG-2 demultiplexer and decoder when the
// content probe found an MPEG program stream. Components that cannot be created on this
// machine are skipped; every failing step shows its message and ends the build with its
// code. Elements already added stay in the graph after a failure.

#include "message_text.h"
#include "pad_router.h"

#include <gst/gst.h>

#include <cstdint>
#include <functional>
#include <string>

namespace clipdeck {

struct RecipeContext {
    GstBin* graph;
    PadRouter& router;
    const Reporter& report;
    // Runs the streams into the renderers already in the graph and waits until the first
    // picture is there; 0 or the failure code.
    std::function<uint32_t()> connectStreams;
};

// Builds the graph of a transport stream. `source` receives the source element.
uint32_t buildAvcGraph(RecipeContext& context, const std::string& path, GstElement*& source);

// Builds the graph of any other file: the ASF case when the path names one, else the
// source with the back end's or (for `mpeg`) the MPEG-2 demultiplexer and decoder.
// `source` receives the source element; it stays null after the ASF case.
uint32_t buildGeneralGraph(RecipeContext& context, const std::string& path, bool mpeg,
                           GstElement*& source);

} // namespace clipdeck
