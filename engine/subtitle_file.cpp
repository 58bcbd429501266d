#include "engine/subtitle_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr std::size_t kFlushThreshold = 64 * 1024;

// Writes all of `data`; false on the first error (disk full, file too large, I/O error).
bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::optional<SubtitleFile> SubtitleFile::Create(const std::string& path) {
  // O_NONBLOCK makes opening a FIFO without a reader fail instead of waiting forever.
  UniqueFd fd(
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
  if (!fd.IsOpen()) return std::nullopt;
  const int flags = ::fcntl(fd.Get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return std::nullopt;
  return SubtitleFile(std::move(fd));
}

SubtitleFile::SubtitleFile(UniqueFd fd) : m_fd(std::move(fd)) { m_buffer.reserve(kFlushThreshold); }

void SubtitleFile::WriteLine(std::uint32_t startFrame, std::uint32_t endFrame,
                             std::string_view caption) {
  AppendSubtitleLine(m_buffer, startFrame, endFrame, caption);
  if (m_buffer.size() >= kFlushThreshold) Flush();
}

void SubtitleFile::Flush() {
  if (!m_failed && !WriteAll(m_fd.Get(), m_buffer)) m_failed = true;
  m_buffer.clear();
}

bool SubtitleFile::Close() {
  if (!m_fd.IsOpen()) return !m_failed;
  Flush();
  const bool closed = m_fd.Close();
  return closed && !m_failed;
}

bool SubtitleFile::IsSameFile(const std::string& path) const {
  struct stat mine {};
  struct stat other {};
  if (!m_fd.IsOpen() || ::fstat(m_fd.Get(), &mine) != 0 || ::stat(path.c_str(), &other) != 0) {
    return false;
  }
  return mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}
