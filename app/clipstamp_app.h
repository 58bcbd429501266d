#pragma once

#include "app/command_line.h"

// The application: parses the command line, then converts the named folder silently or, without
// a folder, hands over to the settings dialog. Exactly one exists, owned by main().
class CClipstampApp {
 public:
  CClipstampApp(int& argc, char** argv);

  // Runs start-up and returns the process's exit status. Silent run: 0 when the run did all it
  // set out to do, 1 when the folder could not be listed, a clip not read or a subtitle file not
  // written. Without a folder: the settings dialog's status (0, or 2 when there is no display),
  // or 2 when the dialog is not installed. "--help" and "--version" alone: 0.
  int InitInstance();

 private:
  int& m_argc;
  char** m_argv;
};
