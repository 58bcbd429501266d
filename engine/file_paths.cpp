#include "engine/file_paths.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace {

constexpr int kMaxSymlinkHops = 40;

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + kPathSeparator + name;
}

std::string ParentFolder(const std::string& path) {
  const std::size_t separator = path.rfind(kPathSeparator);
  if (separator == std::string::npos) return "";
  return path.substr(0, separator + 1);
}

std::string ResolveSymlinks(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop <= kMaxSymlinkHops; ++hop) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) {
      return current;
    }
    const std::filesystem::path target = std::filesystem::read_symlink(current, error);
    if (error) return "";
    current = target.is_absolute() ? target.string() : ParentFolder(current) + target.string();
  }
  return "";
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0) {
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }
  std::error_code errorA;
  std::error_code errorB;
  const std::filesystem::path canonicalA = std::filesystem::weakly_canonical(a, errorA);
  const std::filesystem::path canonicalB = std::filesystem::weakly_canonical(b, errorB);
  return !errorA && !errorB && canonicalA == canonicalB;
}
