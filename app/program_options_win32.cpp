#include "app/program_options.h"

#include <windows.h>

#include <string>

#include "engine/win32_calls.h"

// The arguments as the runtime split them lost their quotes and their UTF-8; the command line
// itself has both.
CommandLineOptions ReadProgramOptions(std::span<const char* const> /*arguments*/) {
  const std::string commandLine = Utf8Text(::GetCommandLineW());
  return ParseCommandLine(CommandLineTail(commandLine));
}
