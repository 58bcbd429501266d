#include "app/dialog_launcher.h"

#include "app/win32/clipstamp_dialog.h"
#include "app/win32/ui_session.h"

// The dialog is native here and lives in this program.
int RunSettingsDialog(const CommandLineOptions& options, int& /*argc*/, char** /*argv*/) {
  const UiSession session;
  CClipstampDialog dialog(options.folder, options.timeFormat, options.combinedName, options.ntsc,
                          options.minuteOffset);
  dialog.DoModal();
  return 0;
}
