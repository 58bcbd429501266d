#include "app/dialog_program.h"

#include <cstdio>
#include <span>
#include <string>

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>

#include "app/clipstamp_dialog.h"
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

int RunDialogProgram(int& argc, char** argv) {
  if (!CanShowWindows()) {
    std::fputs(
        "clipstamp: no display for the settings dialog; to convert without it, name the "
        "folder: clipstamp -d FOLDER\n",
        stderr);
    return 2;
  }
  const std::size_t count = argc > 1 ? static_cast<std::size_t>(argc - 1) : 0;
  const CommandLineOptions options =
      TrimOptions(ParseArguments(std::span<const char* const>(argv + 1, count)));

  QApplication application(argc, argv);
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
