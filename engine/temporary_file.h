#pragma once

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "engine/output_folder.h"
#include "engine/run_report.h"
#include "engine/unique_fd.h"

// A new file with a recognisable hidden name, ".clipstamp-XXXXXX.tmp", in the folder of the file
// it will replace. It is locked before it can be mistaken for a leftover and stays locked until
// it has been renamed into place or removed, so the lock alone tells a live one from one left
// behind by a killed run. The file is removed on destruction unless renamed.
class TemporaryFile {
 public:
  // Creates the file in `folder`, with the mode 0666 less the umask. Returns nullopt with
  // `error` set when the folder does not allow it.
  static std::optional<TemporaryFile> Create(std::shared_ptr<const OutputFolder> folder,
                                             std::error_code& error);

  TemporaryFile(TemporaryFile&& other) noexcept;
  TemporaryFile& operator=(TemporaryFile&& other) noexcept;
  ~TemporaryFile();

  const UniqueFd& File() const { return m_fd; }

  // Renames the file over `name` in its folder, then closes it. Its contents must already be on
  // the medium (see WaitForMedium()). On failure `error` is set, the file is removed and `name`
  // left as it was.
  bool RenameOver(const std::string& name, std::error_code& error);

 private:
  TemporaryFile(std::shared_ptr<const OutputFolder> folder, std::string name, UniqueFd fd);
  void Remove();

  std::shared_ptr<const OutputFolder> m_folder;
  std::string m_name;  // empty once renamed or removed
  UniqueFd m_fd;
};

// A fresh temporary file name: the prefix, six random letters or digits and the suffix.
std::string RandomTemporaryName(std::mt19937& generator);

// True for names that TemporaryFile creates.
bool IsTemporaryFileName(std::string_view name);

// Removes from `folder` the temporary files that no run holds locked. Returns those it found
// unlocked but could not remove; what cannot be looked at (another user's file, a folder that
// cannot be listed) is left alone.
std::vector<FileFailure> RemoveStaleTemporaryFiles(const OutputFolder& folder);
