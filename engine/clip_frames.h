#pragma once

#include <cstdint>

#include "engine/clip_header.h"
#include "engine/video_system.h"

// Frame counts of one clip. All arithmetic is unsigned 32-bit and wraps modulo 2^32, so very
// long durations wrap (a PAL duration of 171798672 ms gives 0 frames).
struct ClipFrames {
  std::uint32_t totalFrames = 0;      // frames of the whole clip
  std::uint32_t firstFrames = 0;      // frames up to the first whole second of the recorded clock
  std::uint32_t framesPerSecond = 0;  // frames per caption step: 25 PAL, 30 NTSC
};

// Rounds to the nearest whole frame, an exact half up: 25 frames per second for PAL, 30000/1001
// for NTSC.
ClipFrames ComputeClipFrames(const ClipHeader& header, VideoSystem system);
