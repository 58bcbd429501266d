#include "app/win32/choosers.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "engine/win32_calls.h"

std::string g_initialFolder;

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

void Preselect(HWND chooser) {
  std::wstring folder = WideText(g_initialFolder);
  if (folder.empty()) {
    wchar_t current[MAX_PATH];
    const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, current);
    if (length == 0 || length >= MAX_PATH) return;
    folder = current;
  }
  ::SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
}

}  // namespace

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM /*data*/) {
  if (message == BFFM_INITIALIZED) {
    Preselect(window);
  } else if (message == BFFM_SELCHANGED) {
    // An item without a path leaves the previous path showing.
    if (const auto path = ItemPath(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam))) {
      ::SendMessageW(window, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path->c_str()));
    }
  }
  return 0;
}

std::optional<std::string> ChooseFolder() {
  const ShellAllocator allocator;
  if (allocator.Get() == nullptr) return std::nullopt;
  BROWSEINFOW browse{};
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  browse.lpfn = BrowseCallback;
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
  chooser.lpstrTitle = L"Combined subtitle file";
  chooser.lpstrDefExt = L"SUB";
  chooser.Flags =
      OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!::GetSaveFileNameW(&chooser)) return std::nullopt;
  return Utf8Text(file.data());
}
