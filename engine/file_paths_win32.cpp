#include "engine/file_paths.h"

#include "engine/win32_calls.h"

const char kPathSeparator = '\\';

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

std::string ParentFolder(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator != std::string::npos) return path.substr(0, separator + 1);
  // "C:name" is a name in the current folder of drive C.
  if (path.size() > 2 && path[1] == ':') return path.substr(0, 2);
  return "";
}

std::filesystem::path NativePath(const std::string& path) { return WideText(path); }

std::string PathText(const std::filesystem::path& path) { return Utf8Text(path.native()); }

std::string ComparableName(const std::string& name) {
  std::wstring wide = WideText(name);
  if (!wide.empty()) ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return wide.empty() ? name : Utf8Text(wide);
}
