#include "engine/unique_fd.h"

#include <io.h>

#include <cerrno>
#include <climits>

#include "engine/last_error.h"
#include "engine/win32_calls.h"

bool UniqueFd::WriteAll(std::string_view data, std::error_code& error) const {
  const HANDLE handle = OsHandle(*this);
  while (!data.empty()) {
    const DWORD chunk = data.size() > INT_MAX ? INT_MAX : static_cast<DWORD>(data.size());
    DWORD written = 0;
    if (!::WriteFile(handle, data.data(), chunk, &written, nullptr)) {
      error = LastSystemError();
      return false;
    }
    // A write that takes nothing would never finish.
    if (written == 0) {
      error = std::make_error_code(std::errc::io_error);
      return false;
    }
    data.remove_prefix(written);
  }
  return true;
}

bool UniqueFd::Close(std::error_code& error) {
  if (m_fd < 0) return true;
  if (::_close(std::exchange(m_fd, -1)) == 0) return true;
  error = std::error_code(errno, std::generic_category());
  return false;
}

void UniqueFd::Reset(int fd) {
  if (m_fd >= 0) ::_close(m_fd);
  m_fd = fd;
}
