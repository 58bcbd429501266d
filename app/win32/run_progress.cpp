#include "app/win32/run_progress.h"

#include <commctrl.h>

#include "app/settings/settings_form.h"
#include "app/win32/window_placement.h"
#include "engine/win32_calls.h"
#include "res/resource.h"

RunProgress::RunProgress(HWND owner, std::chrono::milliseconds showAfter)
    : m_owner(owner),
      m_showAfter(showAfter),
      m_start(std::chrono::steady_clock::now()),
      m_previousCursor(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}

RunProgress::~RunProgress() {
  RestoreCursor();
  if (m_window == nullptr) return;
  // Enabled first, so that the owner becomes the active window again.
  ::EnableWindow(m_owner, TRUE);
  ::DestroyWindow(m_window);
}

bool RunProgress::Report(std::size_t index, std::size_t count, const std::string& path) {
  if (m_window == nullptr && std::chrono::steady_clock::now() - m_start >= m_showAfter) {
    ShowWindow(count);
  }
  MSG message;
  if (m_window == nullptr) {
    // Keeps the windows painted without letting a second OK start a run inside this one.
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT)) {
      ::DispatchMessageW(&message);
    }
    return true;
  }
  ::SetDlgItemTextW(m_window, IDC_PROGRESS_TEXT,
                    WideText(DescribeProgress(index, count, path)).c_str());
  ::SendDlgItemMessageW(m_window, IDC_PROGRESS_BAR, PBM_SETPOS, index, 0);
  while (!m_cancelled && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      m_cancelled = true;
    } else if (!::IsDialogMessageW(m_window, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  return !m_cancelled;
}

void RunProgress::ShowWindow(std::size_t count) {
  RestoreCursor();
  m_window =
      ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RUN_PROGRESS), m_owner,
                           &RunProgress::DialogProc, reinterpret_cast<LPARAM>(this));
  if (m_window == nullptr) return;
  ::SendDlgItemMessageW(m_window, IDC_PROGRESS_BAR, PBM_SETRANGE32, 0, static_cast<LPARAM>(count));
  ::EnableWindow(m_owner, FALSE);
  ::ShowWindow(m_window, SW_SHOW);
}

void RunProgress::RestoreCursor() {
  if (m_busyCursor) ::SetCursor(m_previousCursor);
  m_busyCursor = false;
}

INT_PTR CALLBACK RunProgress::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    CenterWindow(window);
    return TRUE;
  }
  auto* progress = reinterpret_cast<RunProgress*>(::GetWindowLongPtrW(window, DWLP_USER));
  const bool cancel = (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) || message == WM_CLOSE;
  if (progress == nullptr || !cancel) return FALSE;
  progress->m_cancelled = true;
  return TRUE;
}
