#pragma once

#include <optional>
#include <string>
#include <system_error>

#include "engine/unique_fd.h"

// The file that a subtitle path names, as the system reached it when this user opened the path
// for writing: symbolic links are followed only where the system lets this user follow them,
// and this user's permissions apply. A FIFO or character device is a stream, written directly;
// a regular file is to be replaced as a whole.
class OutputTarget {
 public:
  // Opens `path` for writing. A name that does not exist is left for the replacement to create;
  // the missing target of a dangling link is created empty, and removed again on destruction
  // unless Keep() is called. Returns nullopt with `error` set when the path cannot be opened for
  // writing (no permission, a link the system will not follow, a FIFO without a reader: never
  // waits for one), when it is a folder, block device or socket, or a regular file without any
  // write permission bit (whoever runs the program).
  static std::optional<OutputTarget> Open(const std::string& path, std::error_code& error);

  OutputTarget(OutputTarget&& other) noexcept;
  OutputTarget& operator=(OutputTarget&& other) noexcept;
  ~OutputTarget();

  bool IsStream() const { return m_finalPath.empty(); }

  // The open stream, or the existing regular file as it was opened (never written).
  const UniqueFd& File() const { return m_fd; }

  // The regular file to replace, by the path the system resolved; empty for a stream.
  const std::string& FinalPath() const { return m_finalPath; }

  // Gives `file` the permission bits and, where the system allows it, the owner of the regular
  // file to be replaced. False with `error` set when the bits cannot be given on a file system
  // that keeps them.
  bool CopyOwnerAndModeTo(const UniqueFd& file, std::error_code& error) const;

  // True when `path` names this same file.
  bool IsSameFile(const std::string& path) const;

  // The file now holds what was written: it is not removed on destruction.
  void Keep() { m_created = false; }

  // Closes a stream; false with `error` set when close() reported an error.
  bool Close(std::error_code& error) { return m_fd.Close(error); }

 private:
  OutputTarget(UniqueFd fd, bool created);
  static std::optional<OutputTarget> OpenMissing(const std::string& path, std::error_code& error);
  static std::optional<OutputTarget> OpenExisting(UniqueFd fd, const std::string& path,
                                                  bool created, std::error_code& error);
  void RemoveCreated();

  UniqueFd m_fd;      // the file as opened; closed when it does not exist yet
  UniqueFd m_folder;  // the folder of a file that does not exist yet
  std::string m_finalPath;
  bool m_created = false;
};
