#pragma once

#include <memory>

#include "app/command_line.h"

class CClipstampDialog;

// The settings dialog program: reads the command line as clipstamp does and shows the dialog
// pre-filled from it (a folder given with -d fills the folder box). Returns the exit status: 0
// when the dialog closes, 2 when there is no display to show it on.
int RunDialogProgram(int& argc, char** argv);

// The settings dialog pre-filled from the command line, as the dialog program shows it.
std::unique_ptr<CClipstampDialog> CreateSettingsDialog(const CommandLineOptions& options);
