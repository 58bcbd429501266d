#include "engine/file_paths.h"

const char kPathSeparator = '/';

bool IsPathSeparator(char c) { return c == '/'; }

std::string ParentFolder(const std::string& path) {
  const std::size_t separator = path.rfind('/');
  if (separator == std::string::npos) return "";
  return path.substr(0, separator + 1);
}

std::string ComparableName(const std::string& name) { return name; }

// File names are bytes; they are passed on as they are.
std::filesystem::path NativePath(const std::string& path) { return path; }

std::string PathText(const std::filesystem::path& path) { return path.native(); }
