#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include <QApplication>
#include <QByteArray>
#include <QString>
#include <QtGlobal>

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

// The values of WAYLAND_DISPLAY and DISPLAY that are set, each in double quotes, joined by "or".
std::string NamedDisplays() {
  std::string names;
  for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
    const QByteArray value = qgetenv(variable);
    if (value.isEmpty()) continue;
    names += (names.empty() ? "\"" : " or \"") + value.toStdString() + "\"";
  }
  return names;
}

// Installed while the application object connects to the display. Qt's platform messages are
// left out; when no platform can start, which Qt treats as fatal, one line names the display and
// the program ends with status 2 instead of aborting.
void ExitOnDisplayFailure(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
  if (type == QtFatalMsg) {
    std::fprintf(stderr,
                 "clipstamp: cannot open the display %s for the settings dialog; to convert "
                 "without it, name the folder: clipstamp -d FOLDER\n",
                 NamedDisplays().c_str());
    std::_Exit(2);
  }
  const std::string_view category = context.category != nullptr ? context.category : "";
  if (!category.starts_with("qt.qpa.")) {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

}  // namespace

// The settings dialog program: reads the command line as clipstamp does and shows the dialog
// pre-filled from it (a folder given with -d fills the folder box). Exits with 0 when the dialog
// closes, 2 when there is no display to show it on or the one named cannot be opened.
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

  qInstallMessageHandler(ExitOnDisplayFailure);
  QApplication application(argc, argv);
  qInstallMessageHandler(nullptr);
  QApplication::setApplicationName(QStringLiteral("Clipstamp"));
  QApplication::setApplicationVersion(QString::fromLatin1(kClipstampVersion));
  QApplication::setWindowIcon(LoadApplicationIcon());
  CClipstampDialog dialog(settings);
  dialog.exec();
  return 0;
}
