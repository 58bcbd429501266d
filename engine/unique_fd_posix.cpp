#include "engine/unique_fd.h"

#include <unistd.h>

#include <cerrno>

bool UniqueFd::WriteAll(std::string_view data) const {
  while (!data.empty()) {
    const ssize_t n = ::write(m_fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool UniqueFd::Close() {
  if (m_fd < 0) return true;
  // Linux releases the descriptor even when close() fails, so it is never retried.
  const int result = ::close(std::exchange(m_fd, -1));
  return result == 0;
}

void UniqueFd::Reset(int fd) {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = fd;
}
