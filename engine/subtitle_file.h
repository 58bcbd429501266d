#pragma once

#include <optional>
#include <string>
#include <system_error>

#include "engine/output_target.h"
#include "engine/subtitle_sink.h"
#include "engine/temporary_file.h"
#include "engine/unique_fd.h"

// A subtitle file being written. A regular file (or a new one) is written to a temporary file in
// its folder that replaces it only when Commit() succeeds, so a failed or interrupted run never
// leaves a partial file in place of a good one. A FIFO or character device is written directly.
// Lines are buffered and written in large blocks; the first failed write is remembered.
class SubtitleFile final : public SubtitleSink {
 public:
  // Starts writing the file at `path`, opened as OutputTarget::Open() does; what is replaced is
  // the file the system reached. Returns nullopt with `error` set when that fails or no
  // temporary file can be created beside the file to replace.
  static std::optional<SubtitleFile> Create(const std::string& path, std::error_code& error);

  SubtitleFile(SubtitleFile&&) = default;
  SubtitleFile& operator=(SubtitleFile&&) = default;

  void WriteLine(std::uint32_t startFrame, std::uint32_t endFrame,
                 std::string_view caption) override;

  // Writes what is buffered, flushes it to disk and puts it in place, keeping an existing file's
  // permission bits. Returns true when every byte was written; otherwise `error` tells the first
  // failure, the previous file is left as it was (a file this run created is removed again) and
  // no temporary file remains.
  bool Commit(std::error_code& error);

  // True when `path` names the file this one writes (or will replace).
  bool IsSameFile(const std::string& path) const;

  // The folder prefix (as ParentFolder() gives) of the temporary file; nullopt for a stream.
  std::optional<std::string> TemporaryFolder() const;

 private:
  SubtitleFile(OutputTarget target, std::optional<TemporaryFile> temporary);
  const UniqueFd& Output() const;
  void Flush();

  std::optional<OutputTarget> m_target;      // reset once committed
  std::optional<TemporaryFile> m_temporary;  // set unless the target is a stream
  std::string m_buffer;
  std::error_code m_error;  // of the first failed write
};
