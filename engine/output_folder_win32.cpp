#include "engine/output_folder.h"

#include "engine/win32_calls.h"

std::optional<OutputFolder> OutputFolder::Open(const std::string& prefix, std::error_code& error) {
  const std::string path = prefix.empty() ? "." : prefix;
  const WindowsFileIdentity identity = IdentifyFile(path);
  if (!identity.known || !IsFolder(path)) {
    error = std::make_error_code(identity.known ? std::errc::not_a_directory
                                                : std::errc::no_such_file_or_directory);
    return std::nullopt;
  }
  return OutputFolder(prefix, UniqueFd(), {identity.volume, identity.index});
}

// MoveFileExW() with MOVEFILE_WRITE_THROUGH returns only once the rename is on the medium.
bool OutputFolder::Sync(std::error_code& /*error*/) const { return true; }
