#include "app/qt/run_progress.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QProgressDialog>

#include "app/settings/settings_form.h"

RunProgress::RunProgress(QWidget* parent, std::chrono::milliseconds showAfter)
    : m_parent(parent), m_showAfter(showAfter) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  m_clock.start();
}

RunProgress::~RunProgress() { RestoreCursor(); }

bool RunProgress::Report(std::size_t index, std::size_t count, const std::string& path) {
  if (!m_window && std::chrono::milliseconds(m_clock.elapsed()) >= m_showAfter) ShowWindow(count);
  if (!m_window) {
    // Keeps the window painted without letting a second OK start a run inside this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
  }
  m_window->setLabelText(
      QFile::decodeName(QByteArray::fromStdString(DescribeProgress(index, count, path))));
  m_window->setValue(static_cast<int>(index));
  QCoreApplication::processEvents();
  return !m_window->wasCanceled();
}

void RunProgress::ShowWindow(std::size_t count) {
  RestoreCursor();
  m_window = std::make_unique<QProgressDialog>(m_parent);
  m_window->setObjectName("runProgress");
  m_window->setWindowTitle(QCoreApplication::translate("RunProgress", kDialogTitle));
  m_window->setWindowModality(Qt::WindowModal);
  m_window->setAutoReset(false);
  m_window->setAutoClose(false);
  m_window->setMinimumDuration(0);
  m_window->setRange(0, static_cast<int>(count));
  m_window->show();
}

void RunProgress::RestoreCursor() {
  if (m_busyCursor) QGuiApplication::restoreOverrideCursor();
  m_busyCursor = false;
}
