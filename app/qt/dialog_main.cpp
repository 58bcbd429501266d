#include <csignal>
#include <cstdio>
#include <span>

#include <QApplication>
#include <QByteArray>
#include <QString>

#include "app/qt/clipstamp_dialog.h"
#include "app/settings/command_line.h"
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

// The settings dialog program: reads the command line as clipstamp does and shows the dialog
// pre-filled from it (a folder given with -d fills the folder box). Exits with 0 when the dialog
// closes, 2 when there is no display to show it on.
int main(int argc, char** argv) {
  // A write beyond the file-size limit then fails with EFBIG and is reported like a full disk,
  // instead of killing the process with a half-written file.
  std::signal(SIGXFSZ, SIG_IGN);
  if (!CanShowWindows()) {
    std::fputs(
        "clipstamp: no display for the settings dialog; to convert without it, name the "
        "folder: clipstamp -d FOLDER\n",
        stderr);
    return 2;
  }
  const ConversionSettings settings =
      ParseArguments(std::span<const char* const>(argv + 1, argc > 1 ? argc - 1 : 0));

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Clipstamp"));
  QApplication::setApplicationVersion(QString::fromLatin1(kClipstampVersion));
  QApplication::setWindowIcon(LoadApplicationIcon());
  CClipstampDialog dialog(settings);
  dialog.exec();
  return 0;
}
