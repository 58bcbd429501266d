#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

#include "engine/unique_fd.h"

// What the Windows sources of the engine share: text conversion at the system-call boundary,
// generic error codes from Windows errors, and an owned handle.

// UTF-8 to UTF-16 and back. Text that is not valid UTF-8 gives "", which names no file.
std::wstring WideText(std::string_view text);
std::string Utf8Text(std::wstring_view text);

// True when `path` names a folder (a link to one counts).
bool IsFolder(const std::string& path);

// A Windows error code as the generic (errno) code that reads alike on POSIX.
std::error_code GenericError(DWORD error);

// The Windows handle under a C runtime descriptor.
HANDLE OsHandle(const UniqueFd& fd);

// A C runtime descriptor that owns `handle` (closed when it cannot be made).
UniqueFd AdoptHandle(HANDLE handle);

// Opens the existing `path` with the given access and flags, sharing it with everyone;
// INVALID_HANDLE_VALUE on failure, with `error` set.
HANDLE OpenShared(const std::string& path, DWORD access, DWORD flags, std::error_code& error);

// An open handle, closed on destruction.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() {
    if (IsOpen()) ::CloseHandle(m_handle);
  }
  HANDLE Get() const { return m_handle; }
  bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE && m_handle != nullptr; }
  HANDLE Release() {
    HANDLE handle = m_handle;
    m_handle = INVALID_HANDLE_VALUE;
    return handle;
  }

 private:
  HANDLE m_handle;
};

// The volume serial number and file index that tell files apart (wine's stat() gives every file
// the inode 0, so the C runtime cannot).
struct WindowsFileIdentity {
  std::uint64_t volume = 0;
  std::uint64_t index = 0;
  bool known = false;

  bool operator==(const WindowsFileIdentity&) const = default;
};

// The identity of the file or folder at `path`; not known when it cannot be opened.
WindowsFileIdentity IdentifyFile(const std::string& path);
WindowsFileIdentity IdentifyHandle(HANDLE handle);
