#include "app/settings/usage.h"

namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

constexpr std::string_view kOptions =
    " -d FOLDER [-c NAME] [-f FORMAT] [-ntsc] [-o MINUTES] [--srt | --vtt]\n"
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
    "  --srt       Write SubRip files (X.srt; MOVALL.srt for MOVALL.SUB) instead of .SUB.\n"
    "  --vtt       Write WebVTT files (X.vtt; MOVALL.vtt for MOVALL.SUB) instead of .SUB.\n"
    "  --help, -h  Show this help and exit.\n"
    "  --version   Show the version and exit.\n"
    "\n"
    "Option names ignore letter case; values keep theirs. Without -d the settings\n"
    "dialog opens, filled in from the other options. When something fails, each\n"
    "failure is named on standard error and the exit status is 1.\n";

StandardRequest RequestOf(std::string_view argument) {
  if (argument == "--help" || argument == "-h") return StandardRequest::kHelp;
  if (argument == "--version") return StandardRequest::kVersion;
  return StandardRequest::kNone;
}

}  // namespace

StandardRequest StandardRequestOf(std::span<const char* const> arguments) {
  return arguments.size() == 1 ? RequestOf(arguments.front()) : StandardRequest::kNone;
}

StandardRequest StandardRequestOf(std::string_view tail) {
  const std::size_t begin = tail.find_first_not_of(kWhiteSpace);
  if (begin == std::string_view::npos) return StandardRequest::kNone;
  return RequestOf(tail.substr(begin, tail.find_last_not_of(kWhiteSpace) + 1 - begin));
}

std::string UsageText(std::string_view program) {
  return "Usage: " + std::string(program) + std::string(kOptions);
}
