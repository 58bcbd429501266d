#pragma once

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <string>

// Follows a conversion run started from a window: shows the wait cursor and, once the run has
// been going for `showAfter`, a progress window with a Cancel button in its place, the owner
// disabled meanwhile. Lives for the duration of one run.
class RunProgress {
 public:
  RunProgress(HWND owner, std::chrono::milliseconds showAfter);
  ~RunProgress();
  RunProgress(const RunProgress&) = delete;
  RunProgress& operator=(const RunProgress&) = delete;

  // The run's progress callback: announces clip `index` (from 0) of `count`, handles pending
  // messages and returns false once the user has pressed Cancel.
  bool Report(std::size_t index, std::size_t count, const std::string& path);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void ShowWindow(std::size_t count);
  void RestoreCursor();

  HWND m_owner;
  std::chrono::milliseconds m_showAfter;
  std::chrono::steady_clock::time_point m_start;
  HWND m_window = nullptr;
  HCURSOR m_previousCursor;
  bool m_busyCursor = true;
  bool m_cancelled = false;
};
