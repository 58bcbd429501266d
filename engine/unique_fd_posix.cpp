#include "engine/unique_fd.h"

#include <unistd.h>

#include <cerrno>

#include "engine/last_error.h"

bool UniqueFd::WriteAll(std::string_view data, std::error_code& error) const {
  while (!data.empty()) {
    const ssize_t n = ::write(m_fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = LastSystemError();
      return false;
    }
    // A write that takes nothing would never finish.
    if (n == 0) {
      error = std::make_error_code(std::errc::io_error);
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool UniqueFd::Close(std::error_code& error) {
  if (m_fd < 0) return true;
  // Linux releases the descriptor even when close() fails, so it is never retried.
  if (::close(std::exchange(m_fd, -1)) == 0) return true;
  error = LastSystemError();
  return false;
}

void UniqueFd::Reset(int fd) {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = fd;
}
