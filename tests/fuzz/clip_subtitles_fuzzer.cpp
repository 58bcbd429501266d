#include <stdlib.h>
#include <time.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/clip_frames.h"
#include "engine/clip_header.h"
#include "engine/clip_subtitles.h"
#include "engine/subtitle_sink.h"
#include "tests/fuzz/fuzz_input.h"

// Input: the first 18 bytes of a clip information file, then the video system (1 byte), the
// minute offset and the combined-timeline position (4 bytes each, big-endian) and the caption
// format (the rest, at most 300 bytes).

namespace {

// Long clips are cut to 100 s so that one input stays small; wrapped durations stay as they are.
constexpr std::uint32_t kMaxFrames = 3000;
constexpr std::uint32_t kCutDurationMs = 100000;

struct Line {
  std::uint32_t start;
  std::uint32_t end;
  std::string caption;
};

class LineCollector final : public SubtitleSink {
 public:
  void WriteLine(std::uint32_t start, std::uint32_t end, std::string_view caption) override {
    lines.push_back({start, end, std::string(caption)});
    AppendSubtitleLine(stored, start, end, caption);
  }
  std::vector<Line> lines;
  std::string stored;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  std::vector<std::uint8_t> fileStart;
  for (std::size_t i = 0; i < kClipHeaderBytes; ++i) fileStart.push_back(input.Byte());
  std::optional<ClipHeader> header = DecodeClipHeader(fileStart);
  Check(header.has_value());
  const VideoSystem system = input.Byte() % 3;
  if (ComputeClipFrames(*header, system).totalFrames > kMaxFrames) {
    header->durationMs %= kCutDurationMs;
  }
  const auto minutes = static_cast<std::int32_t>(input.Uint32());
  const std::uint32_t offset = input.Uint32();
  const std::string format = input.Rest(300);

  LineCollector perClip;
  LineCollector combined;
  const std::uint32_t next =
      WriteCaptionLines(*header, format, system, offset, minutes, &perClip, &combined);

  const ClipFrames frames = ComputeClipFrames(*header, system);
  Check(next == offset + frames.totalFrames);
  Check(!perClip.lines.empty() && perClip.lines.size() == combined.lines.size());
  Check(perClip.lines.front().start == 0 && perClip.lines.back().end == frames.totalFrames);
  for (std::size_t i = 0; i < perClip.lines.size(); ++i) {
    const Line& own = perClip.lines[i];
    const Line& shifted = combined.lines[i];
    Check(own.caption == shifted.caption && own.caption.size() <= 254);
    Check(shifted.start == own.start + offset);
    // Only an NTSC drop shortens a combined line, by one frame.
    Check(shifted.end == own.end + offset ||
          (system != kPal && shifted.end + 1 == own.end + offset));
    if (i + 1 < perClip.lines.size()) {
      Check(perClip.lines[i + 1].start == shifted.end - offset);
      Check(own.start <= own.end);
    }
  }
  // Every step but the first and the last covers a whole second, less a dropped frame.
  Check(perClip.lines.size() <= frames.totalFrames / (frames.framesPerSecond - 1) + 2);
  return 0;
}
