#include <windows.h>

#include "app/cli/clipstamp_app.h"
#include "app/settings/command_line.h"
#include "app/win32/clipstamp_dialog.h"
#include "app/win32/ui_session.h"
#include "engine/win32_calls.h"

int main() {
  // A card reader without a card fails like a missing folder, without a message box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // The arguments as the runtime split them lost their quotes and their UTF-8; the command line
  // itself has both.
  const ConversionSettings settings =
      ParseCommandLine(CommandLineTail(Utf8Text(::GetCommandLineW())));
  // The dialog is native here and lives in this program.
  CClipstampApp app(settings, [&settings] {
    const UiSession session;
    CClipstampDialog dialog(settings);
    dialog.DoModal();
    return 0;
  });
  return app.InitInstance();
}
