#include "engine/output_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>
#include <vector>

#include "engine/file_paths.h"
#include "engine/last_error.h"

namespace {

constexpr int kOpenFlags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

bool SameInode(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when `path`, not followed if it is a link, is the regular file `opened`.
bool NamesFile(const std::string& path, const struct stat& opened) {
  struct stat named {};
  return !path.empty() && ::lstat(path.c_str(), &named) == 0 && S_ISREG(named.st_mode) &&
         SameInode(named, opened);
}

std::string ReadLink(const std::string& link) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (n < 0) return "";
    if (static_cast<std::size_t>(n) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(n));
    }
    buffer.resize(buffer.size() * 2);
  }
}

// The path under which the system reached the regular file open as `fd`: its own record in
// /proc, or `path` itself when that is no link; empty when neither names the file.
std::string ReachedPath(int fd, const std::string& path) {
  struct stat opened {};
  if (::fstat(fd, &opened) != 0) return "";
  const std::string reached = ReadLink("/proc/self/fd/" + std::to_string(fd));
  if (NamesFile(reached, opened)) return reached;
  return NamesFile(path, opened) ? path : "";
}

std::string BaseName(const std::string& path) { return path.substr(ParentFolder(path).size()); }

// The folder that holds `path`, for system calls: "." for a bare name.
std::string FolderOf(const std::string& path) {
  const std::string folder = ParentFolder(path);
  return folder.empty() ? "." : folder;
}

// O_NONBLOCK made a FIFO without a reader fail at once; writes are to block as usual.
bool MakeBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

}  // namespace

std::optional<OutputTarget> OutputTarget::Open(const std::string& path, std::error_code& error) {
  UniqueFd fd(::open(path.c_str(), kOpenFlags));
  if (!fd.IsOpen()) {
    error = LastSystemError();
    if (error == std::errc::no_such_file_or_directory) return OpenMissing(path, error);
    return std::nullopt;
  }
  return OpenExisting(std::move(fd), path, false, error);
}

std::optional<OutputTarget> OutputTarget::OpenMissing(const std::string& path,
                                                      std::error_code& error) {
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) == 0) {
    // A dangling link: the system decides whether it may be followed to create its target.
    UniqueFd fd(::open(path.c_str(), kOpenFlags | O_CREAT, 0666));
    if (!fd.IsOpen()) {
      error = LastSystemError();
      return std::nullopt;
    }
    return OpenExisting(std::move(fd), path, true, error);
  }
  // A new name: the temporary file's rename creates it, so nothing appears there before.
  OutputTarget target{UniqueFd(), false};
  target.m_folder.Reset(::open(FolderOf(path).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!target.m_folder.IsOpen()) {
    error = LastSystemError();
    return std::nullopt;
  }
  target.m_finalPath = path;
  return target;
}

std::optional<OutputTarget> OutputTarget::OpenExisting(UniqueFd fd, const std::string& path,
                                                       bool created, std::error_code& error) {
  struct stat info {};
  if (::fstat(fd.Get(), &info) != 0) {
    error = LastSystemError();
    return std::nullopt;
  }
  if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
    if (!MakeBlocking(fd.Get())) {
      error = LastSystemError();
      return std::nullopt;
    }
    return OutputTarget(std::move(fd), false);
  }
  if (!S_ISREG(info.st_mode)) {
    error = std::make_error_code(S_ISDIR(info.st_mode) ? std::errc::is_a_directory
                                                       : std::errc::operation_not_supported);
    return std::nullopt;
  }
  // A file whose owner took away every write bit stays as it is, even for root.
  if (!created && (info.st_mode & kWriteBits) == 0) {
    error = std::make_error_code(std::errc::permission_denied);
    return std::nullopt;
  }
  std::string finalPath = ReachedPath(fd.Get(), path);
  OutputTarget target(std::move(fd), created);
  if (finalPath.empty()) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
    return std::nullopt;
  }
  target.m_finalPath = std::move(finalPath);
  return target;
}

void OutputTarget::RemoveCreated() {
  struct stat opened {};
  if (m_created && m_fd.IsOpen() && ::fstat(m_fd.Get(), &opened) == 0 && opened.st_size == 0 &&
      NamesFile(m_finalPath, opened)) {
    ::unlink(m_finalPath.c_str());
  }
  m_created = false;
}

bool OutputTarget::CopyOwnerAndModeTo(const UniqueFd& file, std::error_code& error) const {
  // A new file takes the mode the umask gives, as any other program's would.
  if (!m_fd.IsOpen()) return true;
  struct stat original {};
  if (::fstat(m_fd.Get(), &original) != 0) {
    error = LastSystemError();
    return false;
  }
  // Changing the owner needs privileges; without them the file stays the writer's own.
  if (::fchown(file.Get(), original.st_uid, original.st_gid) != 0) {
    [[maybe_unused]] const int ignored =
        ::fchown(file.Get(), static_cast<uid_t>(-1), original.st_gid);
  }
  if (::fchmod(file.Get(), original.st_mode & 07777) == 0) return true;
  // The writer owns the file, so EPERM means a file system that keeps no modes (vfat, exfat).
  error = LastSystemError();
  return error == std::errc::operation_not_permitted;
}

bool OutputTarget::IsSameFile(const std::string& path) const {
  struct stat named {};
  struct stat mine {};
  if (::stat(path.c_str(), &named) == 0) {
    return ::fstat(m_fd.Get(), &mine) == 0 && SameInode(named, mine);
  }
  // Neither exists yet: the same name in the same folder.
  return m_folder.IsOpen() && BaseName(path) == BaseName(m_finalPath) &&
         ::stat(FolderOf(path).c_str(), &named) == 0 && ::fstat(m_folder.Get(), &mine) == 0 &&
         SameInode(named, mine);
}
