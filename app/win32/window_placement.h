#pragma once

#include <windows.h>

// Centres a dialog over its owner, or over the work area of its monitor when it has none, kept
// inside that work area.
void CenterWindow(HWND window);
