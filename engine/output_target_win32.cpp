#include "engine/output_target.h"

#include <utility>

#include "engine/file_paths.h"
#include "engine/last_error.h"
#include "engine/win32_calls.h"

namespace {

// Attributes that a replacement keeps; a read-only file is never replaced at all.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

DWORD AttributesOf(const std::string& path) {
  const std::wstring wide = WideText(path);
  return wide.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wide.c_str());
}

std::string BaseName(const std::string& path) { return path.substr(ParentFolder(path).size()); }

// The folder that holds `path`, for system calls: "." for a bare name.
std::string FolderOf(const std::string& path) {
  const std::string folder = ParentFolder(path);
  return folder.empty() ? "." : folder;
}

// Names compared ignoring case, as the file system compares them.
bool SameName(const std::string& a, const std::string& b) {
  const std::wstring wa = WideText(a);
  const std::wstring wb = WideText(b);
  return ::CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(),
                                static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

std::optional<OutputTarget> OutputTarget::Open(const std::string& path, std::error_code& error) {
  // Another program that holds the file open without sharing it fails this at once.
  UniqueHandle file(OpenShared(path, GENERIC_WRITE, 0, error));
  if (!file.IsOpen()) {
    if (error == std::errc::no_such_file_or_directory) return OpenMissing(path, error);
    if (IsFolder(path)) error = std::make_error_code(std::errc::is_a_directory);
    return std::nullopt;
  }
  const DWORD type = ::GetFileType(file.Get());
  if (type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE) {
    return OutputTarget(AdoptHandle(file.Release()), false);
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
  // The replacement needs the file unopened by others, or opened with delete sharing; Windows
  // cannot replace a file that is open, so this program lets go of it too.
  if (!UniqueHandle(OpenShared(path, DELETE, 0, error)).IsOpen()) return std::nullopt;
  OutputTarget target{UniqueFd(), false};
  target.m_finalPath = path;
  return target;
}

std::optional<OutputTarget> OutputTarget::OpenMissing(const std::string& path,
                                                      std::error_code& error) {
  if (!IsFolder(FolderOf(path))) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
    return std::nullopt;
  }
  OutputTarget target{UniqueFd(), false};
  target.m_finalPath = path;
  return target;
}

// Nothing is ever created before the replacement here: links are not followed to make files.
void OutputTarget::RemoveCreated() { m_created = false; }

bool OutputTarget::CopyOwnerAndModeTo(const UniqueFd& file, std::error_code& error) const {
  const DWORD attributes = AttributesOf(m_finalPath);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kKeptAttributes) == 0) return true;
  FILE_BASIC_INFO info{};  // zero times stay as they are
  info.FileAttributes = attributes & kKeptAttributes;
  if (::SetFileInformationByHandle(OsHandle(file), FileBasicInfo, &info, sizeof info)) return true;
  error = LastSystemError();
  return false;
}

bool OutputTarget::IsSameFile(const std::string& path) const {
  if (IsStream()) return false;
  const FileIdentity mine = IdentifyFile(m_finalPath);
  const FileIdentity named = IdentifyFile(path);
  if (mine.known || named.known) return mine == named;
  // Neither exists yet: the same name in the same folder.
  const FileIdentity folder = IdentifyFile(FolderOf(m_finalPath));
  return SameName(BaseName(path), BaseName(m_finalPath)) && folder.known &&
         folder == IdentifyFile(FolderOf(path));
}
