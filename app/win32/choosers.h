#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The shell's folder chooser with the folder `start` preselected, without an owner so the
// settings dialog stays usable meanwhile. The chosen folder's path in UTF-8; nullopt when
// cancelled or the item has no path.
std::optional<std::string> ChooseFolder(const std::string& start);

// A save-file chooser for the combined file, starting at `start` (a file, or a folder to start
// in); a new file typed without extension, or with ".sub" in any case, gets ".SUB". The chosen
// path in UTF-8, nullopt when cancelled.
std::optional<std::string> ChooseCombinedFile(HWND owner, const std::string& start);
