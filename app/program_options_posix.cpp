#include "app/program_options.h"

CommandLineOptions ReadProgramOptions(std::span<const char* const> arguments) {
  return ParseArguments(arguments);
}
