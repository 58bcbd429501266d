#pragma once

#include <string>

// Separator used to join a folder and a name, and trimmed from the end of a folder.
inline constexpr char kPathSeparator = '/';

inline std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + kPathSeparator + name;
}
