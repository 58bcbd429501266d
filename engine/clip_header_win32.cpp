#include "engine/clip_header.h"

#include <array>

#include "engine/last_error.h"
#include "engine/win32_calls.h"

ClipReading ReadClipHeader(const std::string& path) {
  std::error_code error;
  const UniqueHandle file(OpenShared(path, GENERIC_READ, 0, error));
  if (!file.IsOpen()) {
    // A vanished entry and a folder are no clip at all.
    if (error == std::errc::no_such_file_or_directory)
      return {std::nullopt, {}, SkipReason::kVanished};
    if (IsFolder(path)) return {std::nullopt, {}, SkipReason::kNotRegularFile};
    return {std::nullopt, error};
  }
  // Devices such as "NUL" and pipes are no clip either.
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
    return {std::nullopt, {}, SkipReason::kNotRegularFile};
  }
  std::array<std::uint8_t, kClipHeaderBytes> bytes{};
  DWORD filled = 0;
  while (filled < bytes.size()) {
    DWORD count = 0;
    if (!::ReadFile(file.Get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled),
                    &count, nullptr)) {
      return {std::nullopt, LastSystemError()};
    }
    if (count == 0) break;
    filled += count;
  }
  const std::optional<ClipHeader> header = DecodeClipHeader(std::span(bytes.data(), filled));
  if (!header) return {std::nullopt, {}, SkipReason::kTooShort};
  return {header, {}};
}
