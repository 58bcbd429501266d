#include <csignal>

#include "app/dialog_program.h"

int main(int argc, char** argv) {
  // A write beyond the file-size limit then fails with EFBIG and is reported like a full disk,
  // instead of killing the process with a half-written file.
  std::signal(SIGXFSZ, SIG_IGN);
  return RunDialogProgram(argc, argv);
}
