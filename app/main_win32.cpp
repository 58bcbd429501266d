#include <windows.h>

#include "app/clipstamp_app.h"

int main(int argc, char** argv) {
  // A card reader without a card fails like a missing folder, without a message box.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  CClipstampApp app(argc, argv);
  return app.InitInstance();
}
