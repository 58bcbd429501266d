#include <stdlib.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/byte_order.h"
#include "engine/clip_frames.h"
#include "engine/clip_header.h"
#include "engine/clip_subtitles.h"

// Input: the first 18 bytes of a clip information file, then the video system (1 byte), the
// minute offset and the combined-timeline position (4 bytes each, big-endian) and the caption
// format (the rest, at most 300 bytes).

namespace {

// A property every input must satisfy; a violation stops the fuzzer like a crash.
void Check(bool condition) {
  if (!condition) std::abort();
}

struct Line {
  std::uint32_t start;
  std::uint32_t end;
  std::string caption;
};

class LineCollector final : public SubtitleSink {
 public:
  void WriteLine(std::uint32_t start, std::uint32_t end, std::string_view caption) override {
    lines.push_back({start, end, std::string(caption)});
  }
  std::vector<Line> lines;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> bytes(data, data + size);
  bytes.resize(std::max<std::size_t>(size, 27));
  ClipHeader header = DecodeClipHeader(bytes).value();
  const VideoSystem system = bytes[18] % 3;
  // Long clips are cut to 100 s so that one input stays small.
  if (ComputeClipFrames(header, system).totalFrames > 3000) header.durationMs %= 100000;
  const auto minutes = static_cast<std::int32_t>(ReadBigEndian32(bytes, 19));
  const std::uint32_t offset = ReadBigEndian32(bytes, 23);
  const std::string format(bytes.begin() + 27,
                           bytes.begin() + std::clamp<std::size_t>(size, 27, 327));

  LineCollector own;
  LineCollector shifted;
  const std::uint32_t next =
      WriteCaptionLines(header, format, system, offset, minutes, &own, &shifted);
  const ClipFrames frames = ComputeClipFrames(header, system);
  Check(next == offset + frames.totalFrames);
  Check(!own.lines.empty() && own.lines.size() == shifted.lines.size());
  Check(own.lines.front().start == 0 && own.lines.back().end == frames.totalFrames);
  for (std::size_t i = 0; i < own.lines.size(); ++i) {
    const Line& a = own.lines[i];
    const Line& b = shifted.lines[i];
    Check(a.caption == b.caption && a.caption.size() <= 254 && b.start == a.start + offset);
    // Only an NTSC drop shortens a combined line, by one frame.
    Check(b.end == a.end + offset || (system != kPal && b.end + 1 == a.end + offset));
    if (i + 1 < own.lines.size()) Check(own.lines[i + 1].start == b.end - offset);
  }
  // Every step but the first and the last covers a whole second, less a dropped frame.
  Check(own.lines.size() <= frames.totalFrames / (frames.framesPerSecond - 1) + 2);
  return 0;
}
