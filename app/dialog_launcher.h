#pragma once

// Shows the settings dialog for a start-up without a folder, passing on the program's arguments
// unchanged, and returns the dialog's exit status. Where the dialog is a program of its own it
// replaces this process; when it cannot be started, one line on standard error says why and the
// result is 2.
int RunSettingsDialog(int& argc, char** argv);
