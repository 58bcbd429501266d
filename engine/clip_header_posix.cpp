#include "engine/clip_header.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "engine/last_error.h"
#include "engine/unique_fd.h"

namespace {

// Reads up to `buffer.size()` bytes from the start of the file; returns the count read, or
// nullopt with `error` set on a read error.
std::optional<std::size_t> ReadFileStart(int fd, std::span<std::uint8_t> buffer,
                                         std::error_code& error) {
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t n =
        ::pread(fd, buffer.data() + filled, buffer.size() - filled, static_cast<off_t>(filled));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = LastSystemError();
      return std::nullopt;
    }
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  return filled;
}

ClipReading Skip(SkipReason reason) { return {std::nullopt, {}, reason}; }

ClipReading Fail(std::error_code error) { return {std::nullopt, error}; }

// Why a path that stat() cannot follow is no clip: gone, or a link that leads nowhere (dangling,
// looping, or through a file as if it were a folder). Other reasons are errors.
ClipReading Unfollowable(const std::string& path, std::error_code error) {
  if (error != std::errc::no_such_file_or_directory &&
      error != std::errc::too_many_symbolic_link_levels && error != std::errc::not_a_directory) {
    return Fail(error);
  }
  struct stat link {};
  return Skip(::lstat(path.c_str(), &link) == 0 ? SkipReason::kNotRegularFile
                                                : SkipReason::kVanished);
}

}  // namespace

ClipReading ReadClipHeader(const std::string& path) {
  // Check the type before opening: opening a FIFO or device may block or have side effects.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return Unfollowable(path, LastSystemError());
  if (!S_ISREG(info.st_mode)) return Skip(SkipReason::kNotRegularFile);
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.IsOpen()) {
    const std::error_code error = LastSystemError();
    return error == std::errc::no_such_file_or_directory ? Skip(SkipReason::kVanished)
                                                         : Fail(error);
  }
  if (::fstat(fd.Get(), &info) != 0) return Fail(LastSystemError());
  // The entry may have been replaced between stat() and open().
  if (!S_ISREG(info.st_mode)) return Skip(SkipReason::kNotRegularFile);
  std::array<std::uint8_t, kClipHeaderBytes> bytes{};
  std::error_code error;
  const std::optional<std::size_t> count = ReadFileStart(fd.Get(), bytes, error);
  if (!count) return Fail(error);
  fd.Reset();
  const std::optional<ClipHeader> header = DecodeClipHeader(std::span(bytes.data(), *count));
  return header ? ClipReading{header, {}} : Skip(SkipReason::kTooShort);
}
