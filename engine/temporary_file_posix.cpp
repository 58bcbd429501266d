#include "engine/temporary_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "engine/last_error.h"

namespace {

constexpr int kAttempts = 100;

// True when `path` is still the file open as `fd`.
bool NamesOpenFile(const std::string& path, int fd) {
  struct stat named {};
  struct stat opened {};
  return ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &opened) == 0 &&
         named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

// Locks a file just created at `path`. Another run's clean-up may have found it in the moment
// before, taken its lock and removed it: then it is of no use and false is returned.
bool LockNewFile(const UniqueFd& fd, const std::string& path) {
  const bool locked = ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0;
  // A file system without locks still gets a working temporary file.
  if (!locked && errno == EWOULDBLOCK) return false;
  return NamesOpenFile(path, fd.Get());
}

}  // namespace

std::optional<TemporaryFile> TemporaryFile::Create(const std::string& folderPrefix,
                                                   std::error_code& error) {
  // Names need only differ between concurrent writers; O_EXCL settles any collision.
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::mt19937 generator(static_cast<std::uint32_t>(ticks) ^
                         (static_cast<std::uint32_t>(::getpid()) << 16));
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string path = folderPrefix + RandomTemporaryName(generator);
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666));
    if (!fd.IsOpen()) {
      error = LastSystemError();
      if (error == std::errc::file_exists) continue;
      return std::nullopt;
    }
    if (LockNewFile(fd, path)) return TemporaryFile(std::move(fd), std::move(path));
  }
  error = std::make_error_code(std::errc::file_exists);
  return std::nullopt;
}

bool TemporaryFile::RenameOver(const std::string& target, std::error_code& error) {
  if (m_path.empty()) {
    error = std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  if (::fdatasync(m_fd.Get()) != 0 || std::rename(m_path.c_str(), target.c_str()) != 0) {
    error = LastSystemError();
    Remove();
    return false;
  }
  m_path.clear();
  return m_fd.Close(error);
}

void TemporaryFile::Remove() {
  // Removed while still locked, so no other run's clean-up can take it for a leftover.
  if (!m_path.empty()) ::unlink(m_path.c_str());
  m_path.clear();
  m_fd.Reset();
}

std::vector<FileFailure> RemoveStaleTemporaryFiles(const std::string& folderPrefix) {
  std::vector<FileFailure> leftovers;
  std::error_code error;
  std::filesystem::directory_iterator entry(folderPrefix.empty() ? "." : folderPrefix, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::string name = entry->path().filename().native();
    if (!IsTemporaryFileName(name)) continue;
    const std::string path = folderPrefix + name;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) continue;
    // Its run may have renamed it into place and let go of the lock since it was opened.
    if (NamesOpenFile(path, fd.Get()) && ::unlink(path.c_str()) != 0) {
      leftovers.push_back({path, LastSystemError()});
    }
  }
  return leftovers;
}
