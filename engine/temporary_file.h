#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "engine/unique_fd.h"

// A new file with a recognisable hidden name, ".clipstamp-XXXXXX.tmp", beside the file it will
// replace. It holds an exclusive flock() while open, so a later run can tell a live one from one
// left behind by a killed run. The file is removed on destruction unless Release()d.
class TemporaryFile {
 public:
  // Creates the file in the folder that `folderPrefix` names: "" for the current folder, else a
  // path ending in a separator, as ParentFolder() gives. Its mode is 0666 less the umask.
  // Returns nullopt when the folder does not allow it.
  static std::optional<TemporaryFile> Create(const std::string& folderPrefix);

  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&& other) noexcept;
  ~TemporaryFile();

  int Fd() const { return m_fd.Get(); }
  const std::string& Path() const { return m_path; }

  // Closes the file and reports whether close() succeeded; the file stays until destruction.
  bool Close() { return m_fd.Close(); }

  // The file is no longer removed on destruction (it has been renamed into place).
  void Release() { m_path.clear(); }

 private:
  TemporaryFile(UniqueFd fd, std::string path);
  void Remove();

  UniqueFd m_fd;
  std::string m_path;
};

// True for names that TemporaryFile creates.
bool IsTemporaryFileName(std::string_view name);

// Removes, from the folder that `folderPrefix` names (as for TemporaryFile::Create), temporary
// files left behind by killed runs: those whose lock is free and which were last written before
// `runStart`. Errors are ignored.
void RemoveStaleTemporaryFiles(const std::string& folderPrefix, std::time_t runStart);
