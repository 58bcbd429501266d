#include "engine/clip_subtitles.h"

#include <optional>

#include "engine/caption_clock.h"
#include "engine/caption_format.h"
#include "engine/clip_frames.h"

namespace {

// One frame of every thousand is dropped where an NTSC step crosses a multiple of 1000 frames.
constexpr std::uint32_t kNtscDropRemainder = 970;

}  // namespace

std::uint32_t WriteCaptionLines(const ClipHeader& header, const std::string& timeFormat,
                                VideoSystem system, std::uint32_t runningFrameOffset,
                                std::int32_t minuteOffset, SubtitleSink* perClip,
                                SubtitleSink* combined) {
  const ClipFrames frames = ComputeClipFrames(header, system);
  CaptionClock clock(header, minuteOffset);
  CaptionFormat captions(timeFormat);
  const auto writeSecond = [&](std::uint32_t start, std::uint32_t end, std::uint32_t combinedEnd) {
    const std::string_view caption = captions.Format(clock.Time());
    if (perClip != nullptr) perClip->WriteLine(start, end, caption);
    if (combined != nullptr) {
      combined->WriteLine(start + runningFrameOffset, combinedEnd + runningFrameOffset, caption);
    }
  };

  std::uint32_t start = 0;
  if (frames.firstFrames < frames.totalFrames) {
    writeSecond(0, frames.firstFrames, frames.firstFrames);
    clock.Advance();
    start = frames.firstFrames;
    while (start + frames.framesPerSecond < frames.totalFrames) {
      const std::uint32_t end = start + frames.framesPerSecond;
      // The drop applies to the frame number within the clip; the per-clip line keeps its full
      // length and so overlaps the next caption by one frame.
      const bool drop = system != kPal && start % 1000u > kNtscDropRemainder;
      writeSecond(start, end, drop ? end - 1 : end);
      start = drop ? end - 1 : end;
      clock.Advance();
    }
  }
  writeSecond(start, frames.totalFrames, frames.totalFrames);
  return runningFrameOffset + frames.totalFrames;
}

std::string SubtitlePathFor(const std::string& infoPath, SubtitleFormat format) {
  const std::size_t keep = infoPath.size() >= 4 ? infoPath.size() - 4 : 0;
  return infoPath.substr(0, keep) + std::string(SubtitleExtension(format));
}

ClipResult WriteClipSubtitles(const std::string& infoPath, const std::string& timeFormat,
                              SubtitleFile* combined, VideoSystem system,
                              std::uint32_t runningFrameOffset, std::int32_t minuteOffset,
                              SubtitleFormat format) {
  ClipResult result{runningFrameOffset, ClipOutcome::kSkipped, infoPath};
  // The file the combined file will replace is never read as a clip.
  if (combined != nullptr && combined->IsSameFile(infoPath)) {
    result.skipReason = SkipReason::kCombinedFile;
    return result;
  }
  const ClipReading reading = ReadClipHeader(infoPath);
  if (!reading.header) {
    result.outcome = reading.error ? ClipOutcome::kUnreadable : ClipOutcome::kSkipped;
    result.error = reading.error;
    result.skipReason = reading.skipReason;
    return result;
  }
  const ClipHeader& header = *reading.header;

  const std::string subtitlePath = SubtitlePathFor(infoPath, format);
  const bool perClipWanted = combined == nullptr || !combined->IsSameFile(subtitlePath);
  result.path = perClipWanted ? subtitlePath : std::string();
  std::optional<SubtitleFile> perClip;
  if (perClipWanted) perClip = SubtitleFile::Create(subtitlePath, format, system, result.error);
  if (!perClip && combined == nullptr) {
    result.runningFrameOffset += ComputeClipFrames(header, system).totalFrames;
    result.outcome = ClipOutcome::kUnwritten;
    return result;
  }

  result.runningFrameOffset =
      WriteCaptionLines(header, timeFormat, system, runningFrameOffset, minuteOffset,
                        perClip ? &*perClip : nullptr, combined);
  const bool written = !perClipWanted || (perClip && perClip->Finish(result.error));
  result.outcome = written ? ClipOutcome::kWritten : ClipOutcome::kUnwritten;
  if (written && perClip && !perClip->IsStream()) result.file = std::move(perClip);
  return result;
}
