#include "engine/unique_fd.h"

#include <io.h>

#include <climits>

#include "engine/win32_calls.h"

bool UniqueFd::WriteAll(std::string_view data) const {
  const HANDLE handle = OsHandle(*this);
  while (!data.empty()) {
    const DWORD chunk = data.size() > INT_MAX ? INT_MAX : static_cast<DWORD>(data.size());
    DWORD written = 0;
    if (!::WriteFile(handle, data.data(), chunk, &written, nullptr)) return FailWithLastError();
    if (written == 0) return false;
    data.remove_prefix(written);
  }
  return true;
}

bool UniqueFd::Close() {
  if (m_fd < 0) return true;
  return ::_close(std::exchange(m_fd, -1)) == 0;
}

void UniqueFd::Reset(int fd) {
  if (m_fd >= 0) ::_close(m_fd);
  m_fd = fd;
}
