#pragma once
// The ASF reader: file source and ASF demultiplexer in one bin, which announces each
// stream of the file as a pad of its own, as the Windows Media reader does.

#include <gst/gst.h>

#include <string>

namespace clipdeck {

// The reader named `name` (a floating reference), or null when it cannot be created.
GstElement* makeAsfReader(const char* name);

// Points the reader at the file.
void loadAsfReader(GstElement* reader, const std::string& path);

} // namespace clipdeck
