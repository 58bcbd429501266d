#include "app/standard_options.h"

// Windows programs keep the original vocabulary: "--help" is an ordinary argument.
std::optional<int> AnswerStandardOption(std::span<const char* const> /*arguments*/) {
  return std::nullopt;
}
