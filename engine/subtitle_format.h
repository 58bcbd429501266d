#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/video_system.h"

// The kind of subtitle file a run writes.
enum class SubtitleFormat {
  kMicroDvd,  // ".SUB": lines "{start}{end} caption" that count frames
  kSubRip,    // ".srt": numbered cues with start and end times
  kWebVtt,    // ".vtt": WebVTT cues with start and end times
};

// The extension of a format's files, with its dot: ".SUB", ".srt" or ".vtt".
std::string_view SubtitleExtension(SubtitleFormat format);

// The time a frame stands for, in milliseconds: frame / 25 s for PAL, frame x 1001/30000 s for
// NTSC, rounded to the nearest millisecond, an exact half up.
std::uint64_t FrameMilliseconds(std::uint32_t frame, VideoSystem system);

// Writes captions in one format, each shown from a start frame to an end frame. Cues of the
// time-based formats take the caption's text with each "|" (and the spaces around it) and each
// line end as a line break, leaving out empty lines so that no cue ends early; WebVTT escapes
// "&", "<" and ">", and a WebVTT caption of no length is the millisecond its frame falls in, as
// the format needs an end after the start. Every line ends in CR LF, as in ".SUB" files.
class SubtitleEncoder {
 public:
  SubtitleEncoder(SubtitleFormat format, VideoSystem system);

  // What a file starts with: "WEBVTT" and a blank line for WebVTT, nothing for the others.
  std::string_view Header() const;

  // Appends one caption; cues are numbered from 1 in the order appended.
  void Append(std::string& out, std::uint32_t startFrame, std::uint32_t endFrame,
              std::string_view caption);

 private:
  static void AppendTime(std::string& out, std::uint64_t ms, char decimalSeparator);
  void AppendCueText(std::string& out, std::string_view caption) const;

  SubtitleFormat m_format;
  VideoSystem m_system;
  std::uint64_t m_cues = 0;
};
