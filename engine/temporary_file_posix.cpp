#include "engine/temporary_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <memory>

#include "engine/last_error.h"

namespace {

constexpr int kAttempts = 100;

struct CloseListing {
  void operator()(DIR* listing) const { ::closedir(listing); }
};

// True when `name` in `folder` is still the file open as `fd`.
bool NamesOpenFile(const OutputFolder& folder, const std::string& name, int fd) {
  struct stat named {};
  struct stat opened {};
  return ::fstatat(folder.Handle().Get(), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         ::fstat(fd, &opened) == 0 && named.st_dev == opened.st_dev &&
         named.st_ino == opened.st_ino;
}

// Locks a file just created as `name`. Another run's clean-up may have found it in the moment
// before, taken its lock and removed it: then it is of no use and false is returned.
bool LockNewFile(const OutputFolder& folder, const std::string& name, const UniqueFd& fd) {
  const bool locked = ::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0;
  // A file system without locks still gets a working temporary file.
  if (!locked && errno == EWOULDBLOCK) return false;
  return NamesOpenFile(folder, name, fd.Get());
}

}  // namespace

std::optional<TemporaryFile> TemporaryFile::Create(std::shared_ptr<const OutputFolder> folder,
                                                   std::error_code& error) {
  // Names need only differ between concurrent writers; O_EXCL settles any collision.
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::mt19937 generator(static_cast<std::uint32_t>(ticks) ^
                         (static_cast<std::uint32_t>(::getpid()) << 16));
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string name = RandomTemporaryName(generator);
    UniqueFd fd(::openat(folder->Handle().Get(), name.c_str(),
                         O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666));
    if (!fd.IsOpen()) {
      error = LastSystemError();
      if (error == std::errc::file_exists) continue;
      return std::nullopt;
    }
    if (LockNewFile(*folder, name, fd)) {
      return TemporaryFile(std::move(folder), std::move(name), std::move(fd));
    }
  }
  error = std::make_error_code(std::errc::file_exists);
  return std::nullopt;
}

bool TemporaryFile::RenameOver(const std::string& name, std::error_code& error) {
  if (m_name.empty()) {
    error = std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  const int folder = m_folder->Handle().Get();
  if (::renameat(folder, m_name.c_str(), folder, name.c_str()) != 0) {
    error = LastSystemError();
    Remove();
    return false;
  }
  m_name.clear();
  return m_fd.Close(error);
}

void TemporaryFile::Remove() {
  // Removed while still locked, so no other run's clean-up can take it for a leftover.
  if (!m_name.empty()) ::unlinkat(m_folder->Handle().Get(), m_name.c_str(), 0);
  m_name.clear();
  m_fd.Reset();
}

std::vector<FileFailure> RemoveStaleTemporaryFiles(const OutputFolder& folder) {
  std::vector<FileFailure> leftovers;
  UniqueFd listing(::openat(folder.Handle().Get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  const std::unique_ptr<DIR, CloseListing> entries(listing.IsOpen() ? ::fdopendir(listing.Get())
                                                                    : nullptr);
  if (!entries) return leftovers;
  listing.Release();  // the listing owns it now
  while (const dirent* entry = ::readdir(entries.get())) {
    const std::string name = entry->d_name;
    if (!IsTemporaryFileName(name)) continue;
    UniqueFd fd(::openat(folder.Handle().Get(), name.c_str(),
                         O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd.IsOpen() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) continue;
    // Its run may have renamed it into place and let go of the lock since it was opened.
    if (NamesOpenFile(folder, name, fd.Get()) &&
        ::unlinkat(folder.Handle().Get(), name.c_str(), 0) != 0) {
      leftovers.push_back({folder.Prefix() + name, LastSystemError()});
    }
  }
  return leftovers;
}
