#include "app/standard_options.h"

#include <cstdio>
#include <string_view>

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

// The exit status once the answer is printed: 1 when it could not be written.
int FinishOutput() { return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1; }

}  // namespace

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
