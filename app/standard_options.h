#pragma once

#include <optional>
#include <span>

// Answers "--help" or "--version" given as the only argument, as a Linux program is expected
// to: prints the usage or the version to standard output and returns the exit status (0, or 1
// when the output could not be written). Any other command line gets no answer and parses as
// usual; so does every command line where these conventions do not apply.
std::optional<int> AnswerStandardOption(std::span<const char* const> arguments);
