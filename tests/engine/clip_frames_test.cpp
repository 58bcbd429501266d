#include "engine/clip_frames.h"

#include <gtest/gtest.h>

namespace {

TEST(ClipFramesTest, RoundsToNearestFrameWithUnsignedWrap) {
  struct Case {
    const char* name;
    VideoSystem system;
    std::uint16_t milliseconds;
    std::uint32_t durationMs;
    std::uint32_t totalFrames;
    std::uint32_t firstFrames;
  };
  const Case cases[] = {
      {"PAL worked example", kPal, 7250, 3500, 88, 19},
      {"NTSC worked example", kNtsc, 0, 40000, 1199, 30},
      {"PAL just over a second", kPal, 250, 1500, 38, 19},
      {"PAL 19 ms is no frame", kPal, 0, 19, 0, 25},
      {"PAL 20 ms is half a frame, rounded up", kPal, 0, 20, 1, 25},
      {"NTSC 16 ms is no frame", kNtsc, 0, 16, 0, 30},
      {"NTSC 17 ms rounds up", kNtsc, 0, 17, 1, 30},
      {"PAL sub 980 leaves one frame", kPal, 980, 1000, 25, 1},
      {"PAL sub 981 leaves none", kPal, 981, 1000, 25, 0},
      {"NTSC sub 983 leaves one frame", kNtsc, 983, 1000, 30, 1},
      {"NTSC sub 984 leaves none", kNtsc, 984, 1000, 30, 0},
      {"sub taken from the whole count", kPal, 65535, 0, 0, 12},
      {"PAL last duration before the wrap", kPal, 0, 171798671, 4294967, 25},
      {"PAL product wraps", kPal, 0, 171798672, 0, 25},
      {"NTSC product wraps", kNtsc, 0, 143165560, 0, 30},
      {"PAL largest duration", kPal, 0, 0xFFFFFFFF, 0, 25},
      {"any non-zero system is NTSC", 7, 0, 40000, 1199, 30},
  };
  for (const Case& c : cases) {
    const ClipFrames frames =
        ComputeClipFrames({.milliseconds = c.milliseconds, .durationMs = c.durationMs}, c.system);
    EXPECT_EQ(frames.totalFrames, c.totalFrames) << c.name;
    EXPECT_EQ(frames.firstFrames, c.firstFrames) << c.name;
    EXPECT_EQ(frames.framesPerSecond, c.system == kPal ? 25u : 30u) << c.name;
  }
}

}  // namespace
