#include "app/dialog_launcher.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr char kDialogProgram[] = "clipstamp-dialog";

// The folder of this program's executable, links resolved, with a trailing slash; empty when
// the system does not say.
std::string OwnFolder() {
  char path[4096];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return {};
  const std::string_view executable(path, static_cast<std::size_t>(length));
  return std::string(executable.substr(0, executable.rfind('/') + 1));
}

}  // namespace

int RunSettingsDialog(const CommandLineOptions& /*options*/, int& /*argc*/, char** argv) {
  const std::string folder = OwnFolder();
  if (!folder.empty()) {
    // Beside this program in a build folder, else where installation puts it.
    for (const std::string& candidate :
         {folder + kDialogProgram, folder + CLIPSTAMP_DIALOG_FOLDER "/" + kDialogProgram}) {
      ::execv(candidate.c_str(), argv);
      if (errno != ENOENT && errno != ENOTDIR) {
        std::fprintf(stderr, "clipstamp: cannot start %s: %s\n", candidate.c_str(),
                     std::strerror(errno));
        return 2;
      }
    }
  }
  std::fputs(
      "clipstamp: the settings dialog is not installed (package clipstamp-gui); to convert "
      "without it, name the folder: clipstamp -d FOLDER\n",
      stderr);
  return 2;
}
