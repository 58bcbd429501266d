#include "engine/clip_header.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "engine/byte_order.h"
#include "engine/unique_fd.h"

namespace {

// Reads up to `buffer.size()` bytes from the start of the file; returns the count read.
std::size_t ReadFileStart(int fd, std::span<std::uint8_t> buffer) {
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t n =
        ::pread(fd, buffer.data() + filled, buffer.size() - filled, static_cast<off_t>(filled));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    filled += static_cast<std::size_t>(n);
  }
  return filled;
}

}  // namespace

std::optional<ClipHeader> DecodeClipHeader(std::span<const std::uint8_t> fileStart) {
  if (fileStart.size() < kClipHeaderBytes) return std::nullopt;
  ClipHeader header;
  header.year = ReadBigEndian16(fileStart, 6);
  header.month = fileStart[8];
  header.day = fileStart[9];
  header.hour = fileStart[10];
  header.minute = fileStart[11];
  header.milliseconds = ReadBigEndian16(fileStart, 12);
  header.durationMs = ReadBigEndian32(fileStart, 14);
  return header;
}

std::optional<ClipHeader> ReadClipHeader(const std::string& path) {
  // Check the type before opening: opening a FIFO or device may block or have side effects.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!fd.IsOpen()) return std::nullopt;
  // The entry may have been replaced between stat() and open().
  if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::array<std::uint8_t, kClipHeaderBytes> bytes{};
  const std::size_t count = ReadFileStart(fd.Get(), bytes);
  fd.Close();
  return DecodeClipHeader(std::span(bytes.data(), count));
}
