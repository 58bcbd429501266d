#pragma once

#include <span>

#include "app/command_line.h"

// The options this process was started with. On POSIX they are picked out of the arguments
// after the program name (ParseArguments); on Windows out of the raw tail of the process's
// command line (ParseCommandLine), so that quotes reach the parser as typed.
CommandLineOptions ReadProgramOptions(std::span<const char* const> arguments);
