#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "engine/unique_fd.h"

// Where a file or folder lives: its device and its index there (inode, or volume serial number
// and file index).
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t index = 0;

  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// A folder that subtitle files are replaced in. On POSIX it is held open and every name in it is
// reached relative to it, so that no path length limit applies and nothing is looked up again
// through links; on Windows names are joined to its path.
class OutputFolder {
 public:
  // Opens the folder that `prefix` names: "" for the current folder, else a path ending in a
  // separator, as ParentFolder() gives. Returns nullopt with `error` set when it cannot.
  static std::optional<OutputFolder> Open(const std::string& prefix, std::error_code& error);

  // The prefix it was opened by, for names in messages (and, on Windows, for system calls).
  const std::string& Prefix() const { return m_prefix; }
  const FileIdentity& Identity() const { return m_identity; }
  // The open folder, for the *at() calls; not open on Windows.
  const UniqueFd& Handle() const { return m_handle; }

  // Makes the renames done in the folder survive a power cut. False with `error` set when the
  // system reports a failure.
  bool Sync(std::error_code& error) const;

 private:
  OutputFolder(std::string prefix, UniqueFd handle, FileIdentity identity)
      : m_prefix(std::move(prefix)), m_handle(std::move(handle)), m_identity(identity) {}

  std::string m_prefix;
  UniqueFd m_handle;
  FileIdentity m_identity;
};
