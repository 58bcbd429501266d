#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "engine/output_target.h"
#include "engine/subtitle_format.h"
#include "engine/subtitle_sink.h"
#include "engine/temporary_file.h"
#include "engine/unique_fd.h"
#include "engine/video_system.h"

// A subtitle file being written. A regular file (or a new one) is written to a temporary file in
// its folder that replaces it only once finished and on the medium, so a failed or interrupted
// run never leaves a partial file in place of a good one. A FIFO or character device is a stream,
// written directly. Lines are buffered and written in large blocks; the first failed write is
// remembered.
class SubtitleFile final : public SubtitleSink {
 public:
  // Starts writing the file at `path` in `format`, opened as OutputTarget::Open() does; what is
  // replaced is the file the system reached. Returns nullopt with `error` set when that fails or
  // no temporary file can be created beside the file to replace.
  static std::optional<SubtitleFile> Create(const std::string& path, SubtitleFormat format,
                                            VideoSystem system, std::error_code& error);

  SubtitleFile(SubtitleFile&&) = default;
  SubtitleFile& operator=(SubtitleFile&&) = default;

  void WriteLine(std::uint32_t startFrame, std::uint32_t endFrame,
                 std::string_view caption) override;

  // Writes out what is buffered; a stream is then closed and done. Returns false with `error`
  // set to the first failure, and the file is then of no use (a file this run created at a
  // dangling link's target is removed again on destruction).
  bool Finish(std::error_code& error);

  bool IsStream() const { return !m_temporary.has_value(); }

  // The finished temporary file, for WaitForMedium(); null for a stream.
  const UniqueFd* Temporary() const { return m_temporary ? &m_temporary->File() : nullptr; }

  // Puts the finished file in place of the old one (which keeps its permission bits). Its
  // contents must be on the medium. False with `error` set when the rename fails; the old file
  // then stays as it was.
  bool Replace(std::error_code& error);

  // The folder the file is renamed into; null for a stream.
  const std::shared_ptr<const OutputFolder>& Folder() const { return m_target->Folder(); }

  // A number that two files share when they replace the same name in the same folder.
  std::uint64_t TargetKey() const { return m_target->Key(); }

  // True when `path` names the file this one writes (or will replace).
  bool IsSameFile(const std::string& path) const { return m_target->IsSameFile(path); }

 private:
  SubtitleFile(OutputTarget target, std::optional<TemporaryFile> temporary,
               SubtitleEncoder encoder);
  const UniqueFd& Output() const;
  void Flush();

  std::optional<OutputTarget> m_target;
  std::optional<TemporaryFile> m_temporary;  // set unless the target is a stream
  SubtitleEncoder m_encoder;
  std::string m_buffer;
  std::error_code m_error;  // of the first failed write
};
