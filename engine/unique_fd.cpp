#include "engine/unique_fd.h"

#include <unistd.h>

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
