#pragma once
// The fixture videos of the video control tests, made with ffmpeg and gst-launch-1.0 the
// first time a test asks for them. Every video is 5 s at 25 frames per second, 256 x 144,
// with its frame number burnt in: as blue bars (bit i of the number in the i-th eighth of
// the top quarter) and as digits. Red rises from 0 at the left edge to 255 at the right,
// green from the top to the bottom, so that a painted pixel tells where in the picture
// it came from.
//
// The tests run one process each, so the videos are kept in one folder of the build tree
// that every test process shares; its name carries a version of the recipe.

#include <string>

namespace viewer::testing {

inline constexpr int kVideoWidth = 256;
inline constexpr int kVideoHeight = 144;
inline constexpr int kVideoFrames = 125;

// The path of fixture video `name`:
//   clip.mpg    MPEG-2 program stream (starts 00 00 01 BA) with MPEG audio
//   silent.mpg  the same without sound
//   longgop.mpg the same with a key picture every 50 frames and B pictures
//   clip.dat    a RIFF "CDXA" wrapper of an MPEG-2 program stream, no sound
//   clip.wmv    WMV2 video with WMA2 sound in ASF
//   silent.wmv  WMV2 video in ASF, no sound
//   clip.avi    MJPEG in AVI, 40000 microseconds per frame, no sound
//   clip.mts    H.264 in an MPEG transport stream, no sound
//   sound.mts   H.264 with AAC sound in an MPEG transport stream
// Fails the calling test (and returns the path anyway) when the tools cannot make them.
std::string fixtureVideo(const std::string& name);

} // namespace viewer::testing
