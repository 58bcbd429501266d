#include "engine/output_target.h"

#include <utility>

#include "engine/file_paths.h"
#include "engine/last_error.h"
#include "engine/win32_calls.h"

namespace {

// Attributes that a replacement keeps; a read-only file is never replaced at all.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string BaseName(const std::string& path) { return path.substr(ParentFolder(path).size()); }

FileIdentity Portable(const WindowsFileIdentity& identity) {
  return {identity.volume, identity.index};
}

}  // namespace

std::optional<OutputTarget> OutputTarget::Open(const std::string& path, std::error_code& error) {
  OutputTarget target;
  // Another program that holds the file open without sharing it fails this at once.
  UniqueHandle file(OpenShared(path, GENERIC_WRITE, 0, error));
  if (!file.IsOpen()) {
    if (error != std::errc::no_such_file_or_directory) {
      if (IsFolder(path)) error = std::make_error_code(std::errc::is_a_directory);
      return std::nullopt;
    }
  } else {
    const DWORD type = ::GetFileType(file.Get());
    if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
      target.m_stream = AdoptHandle(file.Release());
      return target;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (type != FILE_TYPE_DISK || !::GetFileInformationByHandle(file.Get(), &info)) {
      error = std::make_error_code(std::errc::operation_not_supported);
      return std::nullopt;
    }
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
      error = std::make_error_code(std::errc::permission_denied);
      return std::nullopt;
    }
    target.m_existing = Portable(IdentifyHandle(file.Get()));
    target.m_mode = info.dwFileAttributes;
    // The replacement needs the file unopened by others, or opened with delete sharing; Windows
    // cannot replace a file that is open, so this program lets go of it too.
    if (!UniqueHandle(OpenShared(path, DELETE, 0, error)).IsOpen()) return std::nullopt;
  }
  std::optional<OutputFolder> folder = OutputFolder::Open(ParentFolder(path), error);
  if (!folder) return std::nullopt;
  target.m_folder = std::make_shared<const OutputFolder>(std::move(*folder));
  target.m_name = BaseName(path);
  return target;
}

// Nothing is ever created before the replacement here: links are not followed to make files.
void OutputTarget::RemoveCreated() { m_created = false; }

bool OutputTarget::CopyOwnerAndModeTo(const UniqueFd& file, std::error_code& error) const {
  if (!m_existing || (m_mode & kKeptAttributes) == 0) return true;
  FILE_BASIC_INFO info{};  // zero times stay as they are
  info.FileAttributes = m_mode & kKeptAttributes;
  if (::SetFileInformationByHandle(OsHandle(file), FileBasicInfo, &info, sizeof info)) return true;
  error = LastSystemError();
  return false;
}

bool OutputTarget::IsSameFile(const std::string& path) const {
  if (IsStream()) return false;
  const WindowsFileIdentity named = IdentifyFile(path);
  if (m_existing || named.known) return m_existing && named.known && Portable(named) == *m_existing;
  // Neither exists yet: the same name in the same folder.
  const std::string folder = ParentFolder(path);
  const WindowsFileIdentity folderIdentity = IdentifyFile(folder.empty() ? "." : folder);
  return ComparableName(BaseName(path)) == ComparableName(m_name) && folderIdentity.known &&
         Portable(folderIdentity) == m_folder->Identity();
}
