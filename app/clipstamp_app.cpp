#include "app/clipstamp_app.h"

#include <cstdio>
#include <span>

#include <QApplication>
#include <QFile>
#include <QString>

#include "app/clipstamp_dialog.h"
#include "engine/conversion.h"
#include "res/version.h"

namespace {

// The dialog needs a display unless Qt is told to use one of its display-less platforms.
bool CanShowWindows() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const bool needsDisplay =
      platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
  return !needsDisplay || !qgetenv("DISPLAY").isEmpty() || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

}  // namespace

CClipstampApp::CClipstampApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

int CClipstampApp::InitInstance() {
  const std::size_t count = m_argc > 1 ? static_cast<std::size_t>(m_argc - 1) : 0;
  const CommandLineOptions options =
      TrimOptions(ParseArguments(std::span<const char* const>(m_argv + 1, count)));
  if (options.folder.empty()) return ShowSettingsDialog(options);

  // The silent path creates no GUI application object, so it needs no display.
  ConversionSettings settings;
  settings.folder = options.folder;
  settings.timeFormat = options.timeFormat;
  settings.combinedName = options.combinedName;
  settings.videoSystem = options.ntsc ? kNtsc : kPal;
  settings.minuteOffset = options.minuteOffset;
  return ConvertFolder(std::move(settings)) ? 0 : 1;
}

int CClipstampApp::ShowSettingsDialog(const CommandLineOptions& options) {
  if (!CanShowWindows()) {
    std::fputs(
        "clipstamp: no display for the settings dialog; to convert without it, name the "
        "folder: clipstamp -d FOLDER\n",
        stderr);
    return 2;
  }
  QApplication application(m_argc, m_argv);
  QApplication::setApplicationName(QStringLiteral("Clipstamp"));
  QApplication::setApplicationVersion(QString::fromLatin1(kClipstampVersion));
  QApplication::setWindowIcon(LoadApplicationIcon());
  const std::unique_ptr<CClipstampDialog> dialog = CreateSettingsDialog(options);
  dialog->exec();
  return 0;
}

std::unique_ptr<CClipstampDialog> CreateSettingsDialog(const CommandLineOptions& options) {
  return std::make_unique<CClipstampDialog>(
      QFile::decodeName(QByteArray::fromStdString(options.folder)),
      QString::fromLocal8Bit(QByteArray::fromStdString(options.timeFormat)),
      QFile::decodeName(QByteArray::fromStdString(options.combinedName)), options.ntsc,
      options.minuteOffset);
}
