#include "engine/subtitle_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "engine/file_paths.h"

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

// Opens a device or FIFO for writing; O_NONBLOCK makes a FIFO without a reader fail at once.
UniqueFd OpenDirect(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.IsOpen()) return fd;
  const int flags = ::fcntl(fd.Get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return UniqueFd();
  return fd;
}

// Gives the replacement the owner and permission bits of the file it replaces. Changing the
// owner needs privileges; without them the file stays the writer's own.
void CopyOwnerAndMode(int fd, const struct stat& original) {
  if (::fchown(fd, original.st_uid, original.st_gid) != 0) {
    [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), original.st_gid);
  }
  ::fchmod(fd, original.st_mode & 07777);
}

}  // namespace

std::optional<SubtitleFile> SubtitleFile::Create(const std::string& path) {
  const std::string target = ResolveSymlinks(path);
  if (target.empty()) return std::nullopt;

  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) return std::nullopt;
    if (!S_ISREG(existing.st_mode)) {
      UniqueFd direct = OpenDirect(target);
      if (!direct.IsOpen()) return std::nullopt;
      return SubtitleFile(target, std::nullopt, std::move(direct));
    }
    // A file the user made read-only stays as it is.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return std::nullopt;
  } else if (errno != ENOENT) {
    return std::nullopt;
  }

  std::optional<TemporaryFile> temporary = TemporaryFile::Create(ParentFolder(target));
  if (!temporary) return std::nullopt;
  if (S_ISREG(existing.st_mode)) CopyOwnerAndMode(temporary->Fd(), existing);
  return SubtitleFile(target, std::move(temporary), UniqueFd());
}

SubtitleFile::SubtitleFile(std::string target, std::optional<TemporaryFile> temporary,
                           UniqueFd direct)
    : m_target(std::move(target)), m_temporary(std::move(temporary)), m_direct(std::move(direct)) {
  m_buffer.reserve(kFlushThreshold);
}

int SubtitleFile::Fd() const { return m_temporary ? m_temporary->Fd() : m_direct.Get(); }

void SubtitleFile::WriteLine(std::uint32_t startFrame, std::uint32_t endFrame,
                             std::string_view caption) {
  AppendSubtitleLine(m_buffer, startFrame, endFrame, caption);
  if (m_buffer.size() >= kFlushThreshold) Flush();
}

void SubtitleFile::Flush() {
  if (!m_failed && !WriteAll(Fd(), m_buffer)) m_failed = true;
  m_buffer.clear();
}

bool SubtitleFile::Commit() {
  if (Fd() < 0) return false;
  Flush();
  if (!m_temporary) return m_direct.Close() && !m_failed;

  bool written = !m_failed && ::fdatasync(m_temporary->Fd()) == 0;
  written = m_temporary->Close() && written;
  if (written && std::rename(m_temporary->Path().c_str(), m_target.c_str()) == 0) {
    m_temporary->Release();
    m_temporary.reset();
    return true;
  }
  m_temporary.reset();
  return false;
}

bool SubtitleFile::IsSameFile(const std::string& path) const { return SameFile(m_target, path); }
