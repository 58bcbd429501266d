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
// As the kernel allows, so that a loop of links ends.
constexpr int kMaxLinks = 40;
// Another run may replace the file between opening it and finding its name.
constexpr int kAttempts = 8;

FileIdentity IdentityOf(const struct stat& info) { return {info.st_dev, info.st_ino}; }

std::string BaseName(const std::string& path) { return path.substr(ParentFolder(path).size()); }

// The contents of the link `name` in `folder`; empty with `error` set when it cannot be read.
std::string ReadLinkAt(const UniqueFd& folder, const std::string& name, std::error_code& error) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = ::readlinkat(folder.Get(), name.c_str(), buffer.data(), buffer.size());
    if (n < 0) {
      error = LastSystemError();
      return "";
    }
    if (static_cast<std::size_t>(n) < buffer.size()) {
      return std::string(buffer.data(), static_cast<std::size_t>(n));
    }
    buffer.resize(buffer.size() * 2);
  }
}

// Opens the folder `prefix` (as ParentFolder() gives) relative to `base`, or on its own.
std::optional<OutputFolder> OpenFolderAt(const OutputFolder* base, const std::string& prefix,
                                         std::error_code& error) {
  if (base == nullptr || prefix.starts_with('/')) return OutputFolder::Open(prefix, error);
  return OutputFolder::Open(base->Prefix() + prefix, error);
}

// The folder and the name of the file that `path` reaches, every link on the way followed one
// step at a time relative to the folder that holds it. The names are those the links hold, so
// the prefix may grow; the descriptor is what the replacement works with.
std::optional<std::pair<OutputFolder, std::string>> FollowLinks(const std::string& path,
                                                                std::error_code& error) {
  std::optional<OutputFolder> folder = OutputFolder::Open(ParentFolder(path), error);
  std::string name = BaseName(path);
  for (int links = 0; folder; ++links) {
    struct stat entry {};
    if (::fstatat(folder->Handle().Get(), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
      error = LastSystemError();
      return std::nullopt;
    }
    if (!S_ISLNK(entry.st_mode)) return std::pair(std::move(*folder), std::move(name));
    if (links == kMaxLinks) {
      error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
      return std::nullopt;
    }
    const std::string target = ReadLinkAt(folder->Handle(), name, error);
    if (target.empty()) return std::nullopt;
    folder = OpenFolderAt(&*folder, ParentFolder(target), error);
    name = BaseName(target);
  }
  return std::nullopt;
}

// O_NONBLOCK made a FIFO without a reader fail at once; writes are to block as usual.
bool MakeBlocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

}  // namespace

std::optional<OutputTarget> OutputTarget::Open(const std::string& path, std::error_code& error) {
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    OutputTarget target;
    UniqueFd fd(::open(path.c_str(), kOpenFlags));
    struct stat entry {};
    if (!fd.IsOpen()) {
      error = LastSystemError();
      if (error != std::errc::no_such_file_or_directory) return std::nullopt;
      if (::lstat(path.c_str(), &entry) != 0) {
        // A new name: the temporary file's rename creates it, so nothing appears there before.
        std::optional<OutputFolder> folder = OutputFolder::Open(ParentFolder(path), error);
        if (!folder) return std::nullopt;
        target.m_folder = std::make_shared<const OutputFolder>(std::move(*folder));
        target.m_name = BaseName(path);
        return target;
      }
      // A dangling link: the system decides whether it may be followed to create its target.
      fd.Reset(::open(path.c_str(), kOpenFlags | O_CREAT, 0666));
      if (!fd.IsOpen()) {
        error = LastSystemError();
        return std::nullopt;
      }
      target.m_created = true;
    }

    struct stat opened {};
    if (::fstat(fd.Get(), &opened) != 0) {
      error = LastSystemError();
      return std::nullopt;
    }
    if (S_ISFIFO(opened.st_mode) || S_ISCHR(opened.st_mode)) {
      if (!MakeBlocking(fd.Get())) {
        error = LastSystemError();
        return std::nullopt;
      }
      target.m_stream = std::move(fd);
      return target;
    }
    if (!S_ISREG(opened.st_mode)) {
      error = std::make_error_code(S_ISDIR(opened.st_mode) ? std::errc::is_a_directory
                                                           : std::errc::operation_not_supported);
      return std::nullopt;
    }
    // A file whose owner took away every write bit stays as it is, even for root.
    if (!target.m_created && (opened.st_mode & kWriteBits) == 0) {
      error = std::make_error_code(std::errc::permission_denied);
      return std::nullopt;
    }
    target.m_existing = IdentityOf(opened);
    target.m_mode = opened.st_mode & 07777;
    target.m_owner = opened.st_uid;
    target.m_group = opened.st_gid;
    std::optional<std::pair<OutputFolder, std::string>> place = FollowLinks(path, error);
    if (!place) return std::nullopt;
    target.m_folder = std::make_shared<const OutputFolder>(std::move(place->first));
    target.m_name = std::move(place->second);
    // Unless another run replaced the file in the meantime, the name is the file opened.
    if (::fstatat(target.m_folder->Handle().Get(), target.m_name.c_str(), &entry,
                  AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(entry.st_mode) && IdentityOf(entry) == *target.m_existing) {
      return target;
    }
  }
  error = std::make_error_code(std::errc::resource_unavailable_try_again);
  return std::nullopt;
}

void OutputTarget::RemoveCreated() {
  struct stat entry {};
  if (m_created && m_folder &&
      ::fstatat(m_folder->Handle().Get(), m_name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
      entry.st_size == 0 && IdentityOf(entry) == m_existing) {
    ::unlinkat(m_folder->Handle().Get(), m_name.c_str(), 0);
  }
  m_created = false;
}

bool OutputTarget::CopyOwnerAndModeTo(const UniqueFd& file, std::error_code& error) const {
  // A new file takes the mode the umask gives, as any other program's would.
  if (!m_existing || m_created) return true;
  // Changing the owner needs privileges; without them the file stays the writer's own.
  if (::fchown(file.Get(), m_owner, m_group) != 0) {
    [[maybe_unused]] const int ignored = ::fchown(file.Get(), static_cast<uid_t>(-1), m_group);
  }
  if (::fchmod(file.Get(), m_mode) == 0) return true;
  // The writer owns the file, so EPERM means a file system that keeps no modes (vfat, exfat).
  error = LastSystemError();
  return error == std::errc::operation_not_permitted;
}

bool OutputTarget::IsSameFile(const std::string& path) const {
  if (IsStream()) return false;
  struct stat named {};
  if (::stat(path.c_str(), &named) == 0) return m_existing && IdentityOf(named) == *m_existing;
  // Neither exists yet: the same name in the same folder.
  return !m_existing && BaseName(path) == m_name &&
         ::stat(ParentFolder(path).empty() ? "." : ParentFolder(path).c_str(), &named) == 0 &&
         IdentityOf(named) == m_folder->Identity();
}
