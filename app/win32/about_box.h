#pragma once

#include <windows.h>

// The about box (template 100): the application icon, the version line and a credit line.
class CAboutBox {
 public:
  // Shows the box modally over `parent`; returns when it closes.
  void DoModal(HWND parent);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
