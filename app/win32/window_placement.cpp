#include "app/win32/window_placement.h"

#include <algorithm>

void CenterWindow(HWND window) {
  RECT own;
  if (!::GetWindowRect(window, &own)) return;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT area = monitor.rcWork;
  RECT around = area;
  const HWND owner = ::GetWindow(window, GW_OWNER);
  if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
    ::GetWindowRect(owner, &around);
  }
  const LONG width = own.right - own.left;
  const LONG height = own.bottom - own.top;
  const LONG x = (around.left + around.right - width) / 2;
  const LONG y = (around.top + around.bottom - height) / 2;
  ::SetWindowPos(window, nullptr, std::clamp(x, area.left, std::max(area.left, area.right - width)),
                 std::clamp(y, area.top, std::max(area.top, area.bottom - height)), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
