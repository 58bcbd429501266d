#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/cli/clipstamp_app.h"
#include "app/settings/command_line.h"
#include "res/version.h"

namespace {

constexpr char kUsage[] =
    "Usage: clipstamp -d FOLDER [-c NAME] [-f FORMAT] [-ntsc] [-o MINUTES]\n"
    "       clipstamp [-c NAME] [-f FORMAT] [-ntsc] [-o MINUTES]\n"
    "       clipstamp --help | --version\n"
    "Writes subtitle files that show when camcorder clips were recorded.\n"
    "\n"
    "  -d FOLDER   The folder whose .MOI files are converted. Every X.MOI (any letter\n"
    "              case) gets X.SUB beside it.\n"
    "  -c NAME     Also write one combined subtitle file for all clips back to back.\n"
    "              MOVALL.SUB, written exactly so, means MOVALL.SUB inside the folder;\n"
    "              any other name is used as given (relative to the current folder).\n"
    "              Without -c no combined file is written.\n"
    "  -f FORMAT   The caption format in strftime notation. Default\n"
    "              \"%Y-%m-%d | %H:%M:%S\", e.g. 2007-11-12 | 13:45:07.\n"
    "  -ntsc       NTSC timing (29.97 frames per second) instead of PAL (25).\n"
    "  -o MINUTES  A signed number of minutes added to every recorded time, e.g. to\n"
    "              correct a camera clock.\n"
    "  --help      Show this help and exit.\n"
    "  --version   Show the version and exit.\n"
    "\n"
    "Option names ignore letter case; values keep theirs. Without -d the settings\n"
    "dialog opens, filled in from the other options. See clipstamp(1).\n";

constexpr char kDialogProgram[] = "clipstamp-dialog";

// The exit status once an answer is printed: 1 when it could not be written.
int FinishOutput() { return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1; }

// Answers "--help" or "--version" given as the only argument, as a Linux program is expected
// to; any other command line gets no answer and parses as usual.
std::optional<int> AnswerStandardOption(std::span<const char* const> arguments) {
  if (arguments.size() != 1) return std::nullopt;
  const std::string_view argument = arguments.front();
  if (argument == "--help") {
    std::fputs(kUsage, stdout);
    return FinishOutput();
  }
  if (argument == "--version") {
    std::printf("clipstamp %s\n", kClipstampVersion);
    return FinishOutput();
  }
  return std::nullopt;
}

// The folder of this program's executable, links resolved, with a trailing slash; empty when
// the system does not say.
std::string OwnFolder() {
  char path[4096];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return {};
  const std::string_view executable(path, static_cast<std::size_t>(length));
  return std::string(executable.substr(0, executable.rfind('/') + 1));
}

// Replaces this process with the dialog program, which gets `argv` unchanged and reads the
// settings from it itself. When it cannot be started, one line on standard error says why and
// the result is 2.
int StartDialogProgram(char** argv) {
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

}  // namespace

int main(int argc, char** argv) {
  // A write beyond the file-size limit then fails with EFBIG and is reported like a full disk,
  // instead of killing the process with a half-written file.
  std::signal(SIGXFSZ, SIG_IGN);
  // A reader that goes away makes the write fail with EPIPE, like a full disk.
  std::signal(SIGPIPE, SIG_IGN);
  const std::span<const char* const> arguments(argv + 1, argc > 1 ? argc - 1 : 0);
  if (const std::optional<int> status = AnswerStandardOption(arguments)) return *status;
  CClipstampApp app(ParseArguments(arguments), [argv] { return StartDialogProgram(argv); });
  return app.InitInstance();
}
