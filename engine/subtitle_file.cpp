#include "engine/subtitle_file.h"

#include "engine/file_paths.h"

namespace {

constexpr std::size_t kFlushThreshold = 64 * 1024;

}  // namespace

std::optional<SubtitleFile> SubtitleFile::Create(const std::string& path, std::error_code& error) {
  std::optional<OutputTarget> target = OutputTarget::Open(path, error);
  if (!target) return std::nullopt;
  if (target->IsStream()) return SubtitleFile(std::move(*target), std::nullopt);
  std::optional<TemporaryFile> temporary =
      TemporaryFile::Create(ParentFolder(target->FinalPath()), error);
  if (!temporary || !target->CopyOwnerAndModeTo(temporary->File(), error)) return std::nullopt;
  return SubtitleFile(std::move(*target), std::move(temporary));
}

SubtitleFile::SubtitleFile(OutputTarget target, std::optional<TemporaryFile> temporary)
    : m_target(std::move(target)), m_temporary(std::move(temporary)) {
  m_buffer.reserve(kFlushThreshold);
}

const UniqueFd& SubtitleFile::Output() const {
  return m_temporary ? m_temporary->File() : m_target->File();
}

void SubtitleFile::WriteLine(std::uint32_t startFrame, std::uint32_t endFrame,
                             std::string_view caption) {
  AppendSubtitleLine(m_buffer, startFrame, endFrame, caption);
  if (m_buffer.size() >= kFlushThreshold) Flush();
}

void SubtitleFile::Flush() {
  // After the first failed write the rest is dropped; that failure is the one reported.
  if (!m_error && m_target) Output().WriteAll(m_buffer, m_error);
  m_buffer.clear();
}

bool SubtitleFile::Commit(std::error_code& error) {
  if (!m_target) {
    error = std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  Flush();
  error = m_error;
  bool written = !error;
  if (m_temporary) {
    written = written && m_temporary->RenameOver(m_target->FinalPath(), error);
  } else {
    std::error_code closeError;
    const bool closed = m_target->Close(closeError);
    if (written && !closed) error = closeError;
    written = written && closed;
  }
  if (written) m_target->Keep();
  m_temporary.reset();
  m_target.reset();
  return written;
}

bool SubtitleFile::IsSameFile(const std::string& path) const {
  return m_target && m_target->IsSameFile(path);
}

std::optional<std::string> SubtitleFile::TemporaryFolder() const {
  if (!m_temporary) return std::nullopt;
  return ParentFolder(m_temporary->Path());
}
