#include "app/win32/choosers.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <cwchar>
#include <vector>

#include "app/settings/settings_form.h"
#include "engine/win32_calls.h"

namespace {

// The shell's memory allocator, released on destruction.
class ShellAllocator {
 public:
  ShellAllocator() {
    if (FAILED(::SHGetMalloc(&m_malloc))) m_malloc = nullptr;
  }
  ~ShellAllocator() {
    if (m_malloc != nullptr) m_malloc->Release();
  }
  ShellAllocator(const ShellAllocator&) = delete;
  ShellAllocator& operator=(const ShellAllocator&) = delete;

  IMalloc* Get() const { return m_malloc; }

 private:
  IMalloc* m_malloc = nullptr;
};

// The file-system path of a shell item; nullopt when it has none.
std::optional<std::wstring> ItemPath(PCIDLIST_ABSOLUTE item) {
  wchar_t path[MAX_PATH];
  if (!::SHGetPathFromIDListW(item, path)) return std::nullopt;
  return std::wstring(path);
}

// The chooser's callback: preselects the folder that `data` points to (a wide string) and shows
// the selected folder's path as the status text. Always returns 0.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  } else if (message == BFFM_SELCHANGED) {
    // An item without a path leaves the previous path showing.
    if (const auto path = ItemPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam))) {
      ::SendMessageW(window, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path->c_str()));
    }
  }
  return 0;
}

}  // namespace

std::optional<std::string> ChooseFolder(const std::string& start) {
  const ShellAllocator allocator;
  if (allocator.Get() == nullptr) return std::nullopt;
  BROWSEINFOW browse{};
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  browse.lpfn = BrowseCallback;
  const std::wstring wideStart = WideText(start);
  browse.lParam = reinterpret_cast<LPARAM>(wideStart.c_str());
  const PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&browse);
  if (item == nullptr) return std::nullopt;
  const std::optional<std::wstring> path = ItemPath(item);
  allocator.Get()->Free(item);
  if (!path) return std::nullopt;
  return Utf8Text(*path);
}

std::optional<std::string> ChooseCombinedFile(HWND owner, const std::string& start) {
  const std::wstring wideStart = WideText(start);
  const bool isFolder = IsFolder(start);
  std::vector<wchar_t> file(32768, L'\0');
  if (!isFolder) wideStart.copy(file.data(), file.size() - 1);

  OPENFILENAMEW chooser{};
  chooser.lStructSize = sizeof chooser;
  chooser.hwndOwner = owner;
  chooser.lpstrFilter = L"Subtitle files (*.SUB)\0*.SUB\0All files (*.*)\0*.*\0";
  chooser.lpstrFile = file.data();
  chooser.nMaxFile = static_cast<DWORD>(file.size());
  chooser.lpstrInitialDir = isFolder ? wideStart.c_str() : nullptr;
  const std::wstring title = WideText(kCombinedFileChooserTitle);
  chooser.lpstrTitle = title.c_str();
  chooser.lpstrDefExt = L"SUB";
  chooser.Flags =
      OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!::GetSaveFileNameW(&chooser)) return std::nullopt;
  // A chooser may take the extension it appends from the filter, in lower case (wine does); a new
  // file's extension is spelt as the per-clip subtitle files spell it.
  std::wstring path(file.data());
  const std::size_t extension = chooser.nFileExtension;
  if (extension > 0 && ::_wcsicmp(path.c_str() + extension, L"SUB") == 0 &&
      ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    path.replace(extension, std::wstring::npos, L"SUB");
  }
  return Utf8Text(path);
}
