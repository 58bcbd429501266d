#include "app/dialog_launcher.h"

// The Windows build has no settings dialog yet: without a folder nothing is converted.
int RunSettingsDialog(const CommandLineOptions& /*options*/, int& /*argc*/, char** /*argv*/) {
  return 2;
}
