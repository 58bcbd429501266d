#include "engine/file_paths.h"

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + kPathSeparator + name;
}

std::string ParentFolder(const std::string& path) {
  const std::size_t separator = path.rfind(kPathSeparator);
  if (separator == std::string::npos) return "";
  return path.substr(0, separator + 1);
}
