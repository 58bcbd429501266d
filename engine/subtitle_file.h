#pragma once

#include <optional>
#include <string>

#include "engine/subtitle_sink.h"
#include "engine/temporary_file.h"
#include "engine/unique_fd.h"

// A subtitle file being written. A regular file (or a new one) is written to a temporary file
// beside it that replaces it only when Commit() succeeds, so a failed or interrupted run never
// leaves a partial file in place of a good one. A device or FIFO is written directly. Lines are
// buffered and written in large blocks; the first failed write is remembered.
class SubtitleFile final : public SubtitleSink {
 public:
  // Starts writing the file at `path`, following symbolic links as opening it would. Returns
  // nullopt when it cannot be created: the folder or an existing file is not writable, the path
  // is a folder, or it is a FIFO without a reader (never waits for one).
  static std::optional<SubtitleFile> Create(const std::string& path);

  SubtitleFile(SubtitleFile&&) = default;
  SubtitleFile& operator=(SubtitleFile&&) = default;

  void WriteLine(std::uint32_t startFrame, std::uint32_t endFrame,
                 std::string_view caption) override;

  // Writes what is buffered, flushes it to disk, closes the file and puts it in place, keeping
  // an existing file's permission bits. Returns true when every byte was written; otherwise the
  // previous file is left as it was and the temporary file is removed.
  bool Commit();

  // True when `path` names the file this one writes (or will replace).
  bool IsSameFile(const std::string& path) const;

 private:
  SubtitleFile(std::string target, std::optional<TemporaryFile> temporary, UniqueFd direct);
  int Fd() const;
  void Flush();

  std::string m_target;
  std::optional<TemporaryFile> m_temporary;  // set unless the target is written directly
  UniqueFd m_direct;                         // open when the target is a device or FIFO
  std::string m_buffer;
  bool m_failed = false;
};
