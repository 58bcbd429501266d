#include "engine/win32_calls.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <climits>

std::wstring WideText(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), length);
  return wide;
}

std::string Utf8Text(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

bool IsFolder(const std::string& path) {
  const std::wstring wide = WideText(path);
  const DWORD attributes =
      wide.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void SetErrnoFrom(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_NOT_READY:
      errno = ENOENT;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_LOCK_VIOLATION:
      errno = EACCES;
      break;
    case ERROR_SHARING_VIOLATION:
      errno = EBUSY;
      break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      errno = EEXIST;
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      errno = ENOSPC;
      break;
    case ERROR_WRITE_PROTECT:
      errno = EROFS;
      break;
    case ERROR_TOO_MANY_OPEN_FILES:
      errno = EMFILE;
      break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      errno = ENOMEM;
      break;
    case ERROR_NO_DATA:
    case ERROR_BROKEN_PIPE:
      errno = EPIPE;
      break;
    case ERROR_DIRECTORY:
      errno = ENOTDIR;
      break;
    default:
      errno = EIO;
  }
}

bool FailWithLastError() {
  SetErrnoFrom(::GetLastError());
  return false;
}

HANDLE OsHandle(const UniqueFd& fd) { return reinterpret_cast<HANDLE>(::_get_osfhandle(fd.Get())); }

UniqueFd AdoptHandle(HANDLE handle) {
  const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
  if (fd < 0) ::CloseHandle(handle);
  return UniqueFd(fd);
}

HANDLE OpenShared(const std::string& path, DWORD access, DWORD flags) {
  const std::wstring wide = WideText(path);
  if (wide.empty()) {
    errno = ENOENT;
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle =
      ::CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) FailWithLastError();
  return handle;
}

FileIdentity IdentifyHandle(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(handle, &info)) return {};
  return {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow, true};
}

FileIdentity IdentifyFile(const std::string& path) {
  // Backup semantics let a folder be opened too.
  const UniqueHandle handle(OpenShared(path, 0, FILE_FLAG_BACKUP_SEMANTICS));
  return handle.IsOpen() ? IdentifyHandle(handle.Get()) : FileIdentity{};
}
