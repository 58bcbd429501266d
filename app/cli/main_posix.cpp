#include <fcntl.h>
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
#include "app/settings/usage.h"
#include "res/version.h"

namespace {

constexpr char kDialogProgram[] = "clipstamp-dialog";

// The exit status once an answer is printed: 1 when it could not be written.
int FinishOutput() { return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1; }

// Answers "--help", "-h" or "--version" given as the only argument, as a Linux program is
// expected to; any other command line gets no answer and parses as usual.
std::optional<int> AnswerStandardRequest(std::span<const char* const> arguments) {
  switch (StandardRequestOf(arguments)) {
    case StandardRequest::kHelp:
      std::fputs(UsageText("clipstamp").c_str(), stdout);
      return FinishOutput();
    case StandardRequest::kVersion:
      std::printf("clipstamp %s\n", kClipstampVersion);
      return FinishOutput();
    case StandardRequest::kNone:
      break;
  }
  return std::nullopt;
}

// Standard input, output and error that were closed when the program started are opened on
// /dev/null, so that no file the run opens takes their place and a message meant for them
// cannot land in a subtitle file.
void OpenClosedStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", O_RDWR);
    if (opened >= 0 && opened != fd) ::close(opened);
  }
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
  OpenClosedStandardDescriptors();
  const std::span<const char* const> arguments(argv + 1, argc > 1 ? argc - 1 : 0);
  if (const std::optional<int> status = AnswerStandardRequest(arguments)) return *status;
  CClipstampApp app(ParseArguments(arguments), [argv] { return StartDialogProgram(argv); });
  return app.InitInstance();
}
