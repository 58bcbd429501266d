#pragma once

#include <string>

// The application: parses the command line, then converts the named folder silently or, without
// a folder, offers the settings dialog. Exactly one exists, owned by main().
class CClipstampApp {
 public:
  CClipstampApp(int& argc, char** argv);

  // Runs start-up and returns the process's exit status: 0 when the run did all it set out to
  // do, 1 when the folder could not be listed or a subtitle file could not be written.
  int InitInstance();

 private:
  int& m_argc;
  char** m_argv;
};
