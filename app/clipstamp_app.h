#pragma once

#include <memory>

#include "app/command_line.h"

class CClipstampDialog;

// The application: parses the command line, then converts the named folder silently or, without
// a folder, shows the settings dialog. Exactly one exists, owned by main().
class CClipstampApp {
 public:
  CClipstampApp(int& argc, char** argv);

  // Runs start-up and returns the process's exit status. Silent run: 0 when the run did all it
  // set out to do, 1 when the folder could not be listed, a clip not read or a subtitle file not
  // written. Dialog: 0, or 2 when there is no display to show it on.
  int InitInstance();

 private:
  int ShowSettingsDialog(const CommandLineOptions& options);

  int& m_argc;
  char** m_argv;
};

// The settings dialog pre-filled from the command line, as start-up shows it.
std::unique_ptr<CClipstampDialog> CreateSettingsDialog(const CommandLineOptions& options);
