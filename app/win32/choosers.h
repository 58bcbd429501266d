#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The folder the folder chooser preselects (UTF-8): the settings dialog sets it before opening
// the chooser. Empty at start-up; kept until the process ends.
extern std::string g_initialFolder;

// The folder chooser's callback: preselects g_initialFolder (or, when that is empty, the current
// directory) and shows the selected folder's path as the status text. Always returns 0.
int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);

// The shell's folder chooser, without an owner so the settings dialog stays usable meanwhile.
// The chosen folder's path in UTF-8; nullopt when cancelled or the item has no path.
std::optional<std::string> ChooseFolder();

// A save-file chooser for the combined file, starting at `start` (a file, or a folder to start
// in); the chosen path in UTF-8, nullopt when cancelled.
std::optional<std::string> ChooseCombinedFile(HWND owner, const std::string& start);
