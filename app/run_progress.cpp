#include "app/run_progress.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProgressDialog>

#include "app/dialog_rules.h"

RunProgress::RunProgress(QWidget* parent, std::chrono::milliseconds showAfter)
    : m_parent(parent), m_showAfter(showAfter) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  m_clock.start();
}

RunProgress::~RunProgress() { RestoreCursor(); }

bool RunProgress::Report(std::size_t index, std::size_t count, const std::string& path) {
  if (!m_window &&
      IsTimeToShowProgress(std::chrono::milliseconds(m_clock.elapsed()), m_showAfter)) {
    ShowWindow(count);
  }
  if (!m_window) {
    // Keeps the window painted without letting a second OK start a run inside this one.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
  }
  const QString name = QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
  m_window->setLabelText(QCoreApplication::translate("RunProgress", "Converting clip %1 of %2")
                             .arg(index + 1)
                             .arg(count) +
                         QLatin1Char('\n') + name);
  m_window->setValue(static_cast<int>(index));
  QCoreApplication::processEvents();
  return !m_window->wasCanceled();
}

void RunProgress::ShowWindow(std::size_t count) {
  RestoreCursor();
  m_window = std::make_unique<QProgressDialog>(m_parent);
  m_window->setObjectName("runProgress");
  m_window->setWindowTitle(QCoreApplication::translate("RunProgress", "Clipstamp"));
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
