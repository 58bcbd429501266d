#include "app/win32/about_box.h"

#include "app/win32/window_placement.h"
#include "res/resource.h"

void CAboutBox::DoModal(HWND parent) {
  ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUTBOX), parent,
                    &CAboutBox::DialogProc, 0);
}

INT_PTR CALLBACK CAboutBox::DialogProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM /*lParam*/) {
  switch (message) {
    case WM_INITDIALOG:
      CenterWindow(window);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(window, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}
