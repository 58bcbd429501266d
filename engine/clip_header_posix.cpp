#include "engine/clip_header.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "engine/unique_fd.h"

namespace {

// Reads up to `buffer.size()` bytes from the start of the file; returns the count read, or
// nullopt on a read error.
std::optional<std::size_t> ReadFileStart(int fd, std::span<std::uint8_t> buffer) {
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t n =
        ::pread(fd, buffer.data() + filled, buffer.size() - filled, static_cast<off_t>(filled));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  return filled;
}

std::optional<ClipHeader> Fail(std::error_code& error) {
  error.assign(errno, std::generic_category());
  return std::nullopt;
}

}  // namespace

std::optional<ClipHeader> ReadClipHeader(const std::string& path, std::error_code& error) {
  error.clear();
  // Check the type before opening: opening a FIFO or device may block or have side effects.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    // A vanished entry and a link that leads nowhere (dangling, looping, or through a file as if
    // it were a folder) are no clip at all.
    return errno == ENOENT || errno == ELOOP || errno == ENOTDIR ? std::nullopt : Fail(error);
  }
  if (!S_ISREG(info.st_mode)) return std::nullopt;
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.IsOpen()) return errno == ENOENT ? std::nullopt : Fail(error);
  if (::fstat(fd.Get(), &info) != 0) return Fail(error);
  // The entry may have been replaced between stat() and open().
  if (!S_ISREG(info.st_mode)) return std::nullopt;
  std::array<std::uint8_t, kClipHeaderBytes> bytes{};
  const std::optional<std::size_t> count = ReadFileStart(fd.Get(), bytes);
  if (!count) return Fail(error);
  fd.Close();
  return DecodeClipHeader(std::span(bytes.data(), *count));
}
