#include "engine/temporary_file.h"

#include <chrono>
#include <filesystem>

#include "engine/file_paths.h"
#include "engine/last_error.h"
#include "engine/win32_calls.h"

namespace {

constexpr int kAttempts = 100;
// Windows locks are mandatory, so the lock covers one byte far beyond any data.
constexpr DWORD kLockOffsetHigh = 0x40000000;

bool TryLock(HANDLE file) {
  OVERLAPPED at{};
  at.OffsetHigh = kLockOffsetHigh;
  return ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
}

// Marks the open file for deletion when its last handle closes; false when that fails.
bool DeleteOnClose(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// True when `path` is still the file open as `file`.
bool NamesOpenFile(const std::string& path, HANDLE file) {
  const WindowsFileIdentity named = IdentifyFile(path);
  return named.known && named == IdentifyHandle(file);
}

}  // namespace

std::optional<TemporaryFile> TemporaryFile::Create(std::shared_ptr<const OutputFolder> folder,
                                                   std::error_code& error) {
  // Names need only differ between concurrent writers; CREATE_NEW settles any collision.
  const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
  std::mt19937 generator(static_cast<std::uint32_t>(ticks) ^
                         (static_cast<std::uint32_t>(::GetCurrentProcessId()) << 16));
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string name = RandomTemporaryName(generator);
    const std::string path = folder->Prefix() + name;
    // Delete sharing lets the file be renamed while open, and another run's clean-up open it to
    // find it locked.
    UniqueHandle file(::CreateFileW(WideText(path).c_str(), GENERIC_WRITE | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen()) {
      if (::GetLastError() == ERROR_FILE_EXISTS) continue;
      error = LastSystemError();
      return std::nullopt;
    }
    // Another run's clean-up may have found it in the moment before, locked and removed it. A
    // file system without locks still gets a working temporary file.
    if (!TryLock(file.Get()) && ::GetLastError() == ERROR_LOCK_VIOLATION) continue;
    if (!NamesOpenFile(path, file.Get())) continue;
    return TemporaryFile(std::move(folder), std::move(name), AdoptHandle(file.Release()));
  }
  error = std::make_error_code(std::errc::file_exists);
  return std::nullopt;
}

bool TemporaryFile::RenameOver(const std::string& name, std::error_code& error) {
  if (m_name.empty()) {
    error = std::make_error_code(std::errc::bad_file_descriptor);
    return false;
  }
  const std::string& prefix = m_folder->Prefix();
  if (!::MoveFileExW(WideText(prefix + m_name).c_str(), WideText(prefix + name).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = LastSystemError();
    Remove();
    return false;
  }
  m_name.clear();
  return m_fd.Close(error);
}

void TemporaryFile::Remove() {
  // Removed while still locked, so no other run's clean-up can take it for a leftover.
  if (!m_name.empty() && m_fd.IsOpen()) DeleteOnClose(OsHandle(m_fd));
  m_name.clear();
  m_fd.Reset();
}

std::vector<FileFailure> RemoveStaleTemporaryFiles(const OutputFolder& folder) {
  std::vector<FileFailure> leftovers;
  const std::string& prefix = folder.Prefix();
  std::error_code error;
  std::filesystem::directory_iterator entry(NativePath(prefix.empty() ? "." : prefix), error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    const std::string name = PathText(entry->path().filename());
    if (!IsTemporaryFileName(name)) continue;
    const std::string path = prefix + name;
    std::error_code ignored;
    const UniqueHandle file(
        OpenShared(path, GENERIC_READ | DELETE, FILE_FLAG_OPEN_REPARSE_POINT, ignored));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.IsOpen() || ::GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !::GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
      continue;
    }
    if (!TryLock(file.Get())) continue;
    // Its run may have renamed it into place and let go of the lock since it was opened.
    if (NamesOpenFile(path, file.Get()) && !DeleteOnClose(file.Get())) {
      leftovers.push_back({path, LastSystemError()});
    }
  }
  return leftovers;
}
