#pragma once

#include <string>

// Separator used to join a folder and a name, and trimmed from the end of a folder.
inline constexpr char kPathSeparator = '/';

// folder + separator + name; an empty folder gives a path in the root.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder part of `path` for creating a sibling file: "" for a bare name.
std::string ParentFolder(const std::string& path);

// Follows `path` through symbolic links to the file that writing to it would reach (which need
// not exist). Returns an empty string for a loop or a chain of more than 40 links.
std::string ResolveSymlinks(const std::string& path);

// True when both paths name the same file on disk: the same device and inode when both exist,
// else the same location once symbolic links, "." and ".." are resolved ("v/../v/b.SUB" is
// "v/b.SUB").
bool SameFile(const std::string& a, const std::string& b);
