#include <csignal>

#include "app/clipstamp_app.h"

int main(int argc, char** argv) {
  // A write beyond the file-size limit then fails with EFBIG and is reported like a full disk,
  // instead of killing the process with a half-written file.
  std::signal(SIGXFSZ, SIG_IGN);
  // A reader that goes away makes the write fail with EPIPE, like a full disk.
  std::signal(SIGPIPE, SIG_IGN);
  CClipstampApp app(argc, argv);
  return app.InitInstance();
}
