#pragma once

#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "engine/run_report.h"
#include "engine/unique_fd.h"

// A new file with a recognisable hidden name, ".clipstamp-XXXXXX.tmp", in the folder of the file
// it will replace. It is locked (flock) before it can be mistaken for a leftover and stays locked
// until it has been renamed into place or removed, so the lock alone tells a live one from one
// left behind by a killed run. The file is removed on destruction unless renamed.
class TemporaryFile {
 public:
  // Creates the file in the folder that `folderPrefix` names: "" for the current folder, else a
  // path ending in a separator, as ParentFolder() gives. Its mode is 0666 less the umask.
  // Returns nullopt with `error` set when the folder does not allow it.
  static std::optional<TemporaryFile> Create(const std::string& folderPrefix,
                                             std::error_code& error);

  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&& other) noexcept;
  ~TemporaryFile();

  const UniqueFd& File() const { return m_fd; }
  const std::string& Path() const { return m_path; }

  // Flushes the file to disk, renames it over `target` and only then closes it. Returns true
  // when all of that succeeded; on failure `error` is set, the file removed and `target` left as
  // it was.
  bool RenameOver(const std::string& target, std::error_code& error);

 private:
  TemporaryFile(UniqueFd fd, std::string path);
  void Remove();

  UniqueFd m_fd;
  std::string m_path;  // empty once renamed or removed
};

// A fresh temporary file name: the prefix, six random letters or digits and the suffix.
std::string RandomTemporaryName(std::mt19937& generator);

// True for names that TemporaryFile creates.
bool IsTemporaryFileName(std::string_view name);

// Removes, from the folder that `folderPrefix` names (as for TemporaryFile::Create), the
// temporary files that no run holds locked. Returns those it found unlocked but could not
// remove; what cannot be looked at (another user's file, a folder that cannot be listed) is
// left alone.
std::vector<FileFailure> RemoveStaleTemporaryFiles(const std::string& folderPrefix);
