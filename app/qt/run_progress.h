#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include <QElapsedTimer>

class QProgressDialog;
class QWidget;

// Follows a conversion run started from a window: shows the wait cursor and, once the run has
// been going for `showAfter`, a modal progress window with a Cancel button in its place. Lives
// for the duration of one run.
class RunProgress {
 public:
  RunProgress(QWidget* parent, std::chrono::milliseconds showAfter);
  ~RunProgress();
  RunProgress(const RunProgress&) = delete;
  RunProgress& operator=(const RunProgress&) = delete;

  // The run's progress callback: announces clip `index` (from 0) of `count`, handles pending
  // events and returns false once the user has pressed Cancel.
  bool Report(std::size_t index, std::size_t count, const std::string& path);

 private:
  void ShowWindow(std::size_t count);
  void RestoreCursor();

  QWidget* m_parent;
  std::chrono::milliseconds m_showAfter;
  QElapsedTimer m_clock;
  std::unique_ptr<QProgressDialog> m_window;
  bool m_busyCursor = true;
};
