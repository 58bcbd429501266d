#pragma once

#include <span>
#include <string>
#include <string_view>

// What a command line asks for instead of a conversion.
enum class StandardRequest {
  kNone,
  kHelp,     // "--help" or "-h" as the only argument
  kVersion,  // "--version" as the only argument
};

// The request of the program's arguments (those after its name), as a POSIX shell delivers
// them; written exactly so, as the only argument.
StandardRequest StandardRequestOf(std::span<const char* const> arguments);

// The request of a command-line tail, as Windows delivers it; white space around it aside.
StandardRequest StandardRequestOf(std::string_view tail);

// The options, as "--help" shows them, for the program named `program`.
std::string UsageText(std::string_view program);
