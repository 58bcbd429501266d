#include "engine/subtitle_file.h"

#include <cerrno>

#include "engine/file_paths.h"

namespace {

// The error of the last failed system call; an I/O error when none was recorded.
std::error_code LastError() {
  return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

constexpr std::size_t kFlushThreshold = 64 * 1024;

}  // namespace

std::optional<SubtitleFile> SubtitleFile::Create(const std::string& path) {
  std::optional<OutputTarget> target = OutputTarget::Open(path);
  if (!target) return std::nullopt;
  if (target->IsStream()) return SubtitleFile(std::move(*target), std::nullopt);
  std::optional<TemporaryFile> temporary = TemporaryFile::Create(ParentFolder(target->FinalPath()));
  if (!temporary) return std::nullopt;
  target->CopyOwnerAndModeTo(temporary->File());
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
  if (!m_failed && (!m_target || !Output().WriteAll(m_buffer))) {
    m_failed = true;
    m_error = LastError();
  }
  m_buffer.clear();
}

std::optional<SubtitleFile> SubtitleFile::Create(const std::string& path, std::error_code& error) {
  errno = 0;
  std::optional<SubtitleFile> file = Create(path);
  error = file ? std::error_code() : LastError();
  return file;
}

bool SubtitleFile::Commit(std::error_code& error) {
  errno = 0;
  const bool written = Commit();
  error = written ? std::error_code() : m_error ? m_error : LastError();
  return written;
}

bool SubtitleFile::Commit() {
  if (!m_target) return false;
  Flush();
  bool written = !m_failed;
  if (m_temporary) {
    written = written && m_temporary->RenameOver(m_target->FinalPath());
  } else {
    written = m_target->Close() && written;
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
