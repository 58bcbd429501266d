#pragma once

#include <string>

// Separator used to join a folder and a name, and trimmed from the end of a folder.
inline constexpr char kPathSeparator = '/';

// folder + separator + name; an empty folder gives a path in the root.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder part of `path` for creating a sibling file: "" for a bare name.
std::string ParentFolder(const std::string& path);
