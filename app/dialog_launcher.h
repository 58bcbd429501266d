#pragma once

#include "app/command_line.h"

// Shows the settings dialog for a start-up without a folder, pre-filled with `options` (a
// dialog program of its own gets the program's arguments unchanged instead), and returns the
// dialog's exit status. Where the dialog is a program of its own it
// replaces this process; when it cannot be started, one line on standard error says why and the
// result is 2.
int RunSettingsDialog(const CommandLineOptions& options, int& argc, char** argv);
