#include "engine/clip_frames.h"

ClipFrames ComputeClipFrames(const ClipHeader& header, VideoSystem system) {
  const std::uint32_t duration = header.durationMs;
  const std::uint32_t sub = header.SubSecond();
  if (system == kPal) {
    return {(25u * duration + 500u) / 1000u, (25500u - 25u * sub) / 1000u, 25u};
  }
  return {(30u * duration + 500u) / 1001u, (30500u - 30u * sub) / 1001u, 30u};
}
