#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "engine/clip_header.h"
#include "engine/subtitle_file.h"
#include "engine/subtitle_format.h"
#include "engine/subtitle_sink.h"
#include "engine/video_system.h"

// Writes one clip's caption lines, one per second of video, to the per-clip sink and, shifted by
// `runningFrameOffset`, to the combined sink. Either sink may be null; the per-clip line of a
// second is written before its combined line. Returns `runningFrameOffset` plus the clip's
// frame count (modulo 2^32).
std::uint32_t WriteCaptionLines(const ClipHeader& header, const std::string& timeFormat,
                                VideoSystem system, std::uint32_t runningFrameOffset,
                                std::int32_t minuteOffset, SubtitleSink* perClip,
                                SubtitleSink* combined);

// What became of one clip information file.
enum class ClipOutcome {
  kWritten,     // the per-clip file (if any) was written completely, or waits in `file`
  kSkipped,     // no clip to read (not a regular file, gone, too short); nothing was written
  kUnreadable,  // the information file could not be read; nothing was written
  kUnwritten,   // the per-clip file could not be written
};

struct ClipResult {
  std::uint32_t runningFrameOffset = 0;  // where the next clip starts in the combined timeline
  ClipOutcome outcome = ClipOutcome::kSkipped;
  // The subtitle file, or the clip when it was skipped or unreadable; empty when the combined
  // file took the clip's lines in place of its own subtitle file.
  std::string path;
  std::error_code error{};                              // why it was unreadable or unwritten
  SkipReason skipReason = SkipReason::kNotRegularFile;  // why it was skipped
  // The finished per-clip file, waiting to be put in place; not set for a stream (written
  // already) or when the combined file took the lines.
  std::optional<SubtitleFile> file{};
};

// Per-clip subtitle path: `infoPath` without its last four characters, plus the format's
// extension (".SUB", ".srt" or ".vtt").
std::string SubtitlePathFor(const std::string& infoPath, SubtitleFormat format);

// Converts the clip information file `infoPath` (ending in ".MOI" in any letter case): writes
// its per-clip subtitle file in `format` beside it, finished but not yet in place (see
// ClipResult::file), and appends its lines to `combined` when that is not null. A clip whose
// header was read always gives its lines to the combined file and advances the offset, even
// when its per-clip file cannot be created or written; a clip that cannot be read writes nothing
// and leaves the offset unchanged. When `combined` is the per-clip file itself, only the
// combined file receives the lines.
ClipResult WriteClipSubtitles(const std::string& infoPath, const std::string& timeFormat,
                              SubtitleFile* combined, VideoSystem system,
                              std::uint32_t runningFrameOffset, std::int32_t minuteOffset,
                              SubtitleFormat format = SubtitleFormat::kMicroDvd);
