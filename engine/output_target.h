#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "engine/output_folder.h"
#include "engine/unique_fd.h"

// The file that a subtitle path names, as the system reached it when this user opened the path
// for writing: symbolic links are followed only where the system lets this user follow them,
// and this user's permissions apply. A FIFO or character device is a stream, written directly;
// a regular file (or a name not taken yet) is to be replaced as a whole, by a name in its folder.
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

  bool IsStream() const { return m_folder == nullptr; }

  // The open stream; not open for a file to replace.
  const UniqueFd& Stream() const { return m_stream; }

  // The folder and the name in it of the file to replace, links followed; null and empty for a
  // stream.
  const std::shared_ptr<const OutputFolder>& Folder() const { return m_folder; }
  const std::string& Name() const { return m_name; }

  // A number that two targets share when they replace the same name in the same folder.
  std::uint64_t Key() const;

  // Gives `file` the permission bits (or attributes) and, where the system allows it, the owner
  // of the file to be replaced. False with `error` set when the bits cannot be given on a file
  // system that keeps them.
  bool CopyOwnerAndModeTo(const UniqueFd& file, std::error_code& error) const;

  // True when `path` names this same file.
  bool IsSameFile(const std::string& path) const;

  // The file now holds what was written: it is not removed on destruction.
  void Keep() { m_created = false; }

  // Closes a stream; false with `error` set when close() reported an error.
  bool Close(std::error_code& error) { return m_stream.Close(error); }

 private:
  OutputTarget() = default;
  void RemoveCreated();

  UniqueFd m_stream;
  std::shared_ptr<const OutputFolder> m_folder;
  std::string m_name;
  // The file to replace as it was opened: its identity (none for a new name), and its mode and
  // owner (POSIX) or its attributes in `m_mode` (Windows).
  std::optional<FileIdentity> m_existing;
  std::uint32_t m_mode = 0;
  std::uint32_t m_owner = 0;
  std::uint32_t m_group = 0;
  bool m_created = false;  // this run created the file, empty, at a dangling link's target
};
