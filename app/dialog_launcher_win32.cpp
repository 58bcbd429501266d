#include "app/dialog_launcher.h"

#include "app/dialog_program.h"

// The dialog is native here and lives in this program.
int RunSettingsDialog(int& argc, char** argv) { return RunDialogProgram(argc, argv); }
