#include "engine/clip_header.h"

#include <array>
#include <cerrno>

#include "engine/win32_calls.h"

std::optional<ClipHeader> ReadClipHeader(const std::string& path, std::error_code& error) {
  error.clear();
  const UniqueHandle file(OpenShared(path, GENERIC_READ));
  if (!file.IsOpen()) {
    // A vanished entry and a folder are no clip at all.
    if (errno == ENOENT || IsFolder(path)) return std::nullopt;
    error.assign(errno, std::generic_category());
    return std::nullopt;
  }
  // Devices such as "NUL" and pipes are no clip either.
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return std::nullopt;
  std::array<std::uint8_t, kClipHeaderBytes> bytes{};
  DWORD filled = 0;
  while (filled < bytes.size()) {
    DWORD count = 0;
    if (!::ReadFile(file.Get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled),
                    &count, nullptr)) {
      FailWithLastError();
      error.assign(errno, std::generic_category());
      return std::nullopt;
    }
    if (count == 0) break;
    filled += count;
  }
  return DecodeClipHeader(std::span(bytes.data(), filled));
}
