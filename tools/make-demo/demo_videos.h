#pragma once
// The demo recording's videos: one MPEG-2 program stream per entry of its video index, made
// with ffmpeg. Each picture shows the recording's clock at its instant (hh:mm:ss.mmm), so that
// video and trace can be seen to agree, over a dark card with a square that moves while the
// video plays.

#include "recording_writer.h"

#include <string>
#include <vector>

namespace demo {

// The demo's video index: file 1 from 0:02 to 10:00 and file 2 from 10:15 to 19:55 of the
// twenty-minute recording, a gap of 15 s between them.
std::vector<viewer::VideoRecord> demoVideoIndex();

// Where the viewer looks for video `fileNumber` of the trace file at `tracePath`: the path
// without the extension of its file name, "_", the number, ".mpg".
std::string demoVideoPath(const std::string& tracePath, int32_t fileNumber);

// The command (program first) that writes `record` of a recording whose clock reads
// `clockStartSeconds` (seconds since midnight) at its first sample: 320 x 240 at 25 frames per
// second, a key picture every 12 pictures, no sound.
std::vector<std::string> demoVideoCommand(const std::string& path,
                                          const viewer::VideoRecord& record,
                                          int32_t clockStartSeconds);

// Writes every video of `d`'s index next to `tracePath`; throws std::runtime_error naming the
// file that could not be made.
void writeDemoVideos(const std::string& tracePath, const viewer::testing::RecordingDescription& d);

} // namespace demo
