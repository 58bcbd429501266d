#pragma once

#include <functional>

#include "engine/conversion.h"

// The application: converts the folder that the command line names, silently, or, when it names
// none, shows the settings dialog pre-filled from the other settings. Exactly one exists, made by
// main() from the command line as its platform hands it over.
class CClipstampApp {
 public:
  // `showSettingsDialog` shows the dialog (on POSIX a program of its own) and returns the exit
  // status.
  CClipstampApp(ConversionSettings settings, std::function<int()> showSettingsDialog);

  // Runs start-up and returns the process's exit status. With a folder: 0 when the run did all
  // it set out to do, 1 when the folder could not be listed, a clip not read or a subtitle file
  // not written, each failure then named on standard error. Without one: the settings dialog's.
  int InitInstance();

 private:
  ConversionSettings m_settings;
  std::function<int()> m_showSettingsDialog;
};
