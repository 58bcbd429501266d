#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Receives subtitle lines "{start}{end} caption".
class SubtitleSink {
 public:
  virtual ~SubtitleSink() = default;
  virtual void WriteLine(std::uint32_t startFrame, std::uint32_t endFrame,
                         std::string_view caption) = 0;
};

// Appends one subtitle line as stored on disk: the frames printed as signed 32-bit decimals, the
// line ended by CR LF, and every LF inside the caption stored as CR LF (a CR already there stays).
void AppendSubtitleLine(std::string& out, std::uint32_t startFrame, std::uint32_t endFrame,
                        std::string_view caption);
