#pragma once

#include <filesystem>
#include <string>

// Separator used to join a folder and a name: '/' on POSIX, '\' on Windows.
extern const char kPathSeparator;

// True for a character that separates folder names: '/', and on Windows '\' too.
bool IsPathSeparator(char c);

// folder + separator + name; an empty folder gives a path in the root.
inline std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + kPathSeparator + name;
}

// The folder part of `path` for creating a sibling file, ending in its separator (or, on
// Windows, in the colon of a drive-relative path such as "C:name"); "" for a bare name.
std::string ParentFolder(const std::string& path);

// A file name as the file system compares names: as it is on POSIX, upper-cased on Windows.
std::string ComparableName(const std::string& name);

// The path that the system's calls take for a path held as UTF-8 text, and back.
std::filesystem::path NativePath(const std::string& path);
std::string PathText(const std::filesystem::path& path);
