#include "app/win32/ui_session.h"

#include <windows.h>
// Both build on windows.h.
#include <commctrl.h>
#include <ole2.h>

UiSession::UiSession() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS;
  ::InitCommonControlsEx(&controls);
  m_oleStarted = SUCCEEDED(::OleInitialize(nullptr));
}

UiSession::~UiSession() {
  if (m_oleStarted) ::OleUninitialize();
}
