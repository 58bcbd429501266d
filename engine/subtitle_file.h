#pragma once

#include <optional>
#include <string>

#include "engine/subtitle_sink.h"
#include "engine/unique_fd.h"

// A subtitle file being written. Lines are buffered and written in large blocks; the first
// failed write is remembered and reported by Close().
class SubtitleFile final : public SubtitleSink {
 public:
  // Creates the file at `path`, replacing any existing one. Returns nullopt when it cannot be
  // created. Never blocks on a FIFO without a reader.
  static std::optional<SubtitleFile> Create(const std::string& path);

  SubtitleFile(SubtitleFile&&) = default;
  SubtitleFile& operator=(SubtitleFile&&) = default;

  void WriteLine(std::uint32_t startFrame, std::uint32_t endFrame,
                 std::string_view caption) override;

  // Writes what is buffered and closes the file. Returns true when every byte was written and
  // the file closed cleanly.
  bool Close();

  // True when `path` names this file on disk (same device and inode).
  bool IsSameFile(const std::string& path) const;

 private:
  explicit SubtitleFile(UniqueFd fd);
  void Flush();

  UniqueFd m_fd;
  std::string m_buffer;
  bool m_failed = false;
};
