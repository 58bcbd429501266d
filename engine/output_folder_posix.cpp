#include "engine/output_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/last_error.h"

std::optional<OutputFolder> OutputFolder::Open(const std::string& prefix, std::error_code& error) {
  const std::string path = prefix.empty() ? "." : prefix;
  // Read access lets the folder be synced; a folder that only allows writing still works.
  UniqueFd handle(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!handle.IsOpen()) handle.Reset(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  struct stat info {};
  if (!handle.IsOpen() || ::fstat(handle.Get(), &info) != 0) {
    error = LastSystemError();
    return std::nullopt;
  }
  return OutputFolder(prefix, std::move(handle), {info.st_dev, info.st_ino});
}

bool OutputFolder::Sync(std::error_code& error) const {
  // A folder opened without read access (EBADF), or on a file system that cannot sync folders
  // (EINVAL), keeps its renames as durable as the file system makes them on its own.
  if (::fsync(m_handle.Get()) == 0) return true;
  error = LastSystemError();
  return error == std::errc::bad_file_descriptor || error == std::errc::invalid_argument;
}
