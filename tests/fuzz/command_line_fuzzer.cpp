#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/settings/command_line.h"

// Input: a command-line tail. Every value comes out of the tail, trimmed.

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 4096));
  const ConversionSettings settings = ParseCommandLine(text);
  // The C locale's white space is the six characters the parser trims.
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  for (const std::string* value :
       {&settings.folder, &settings.timeFormat, &settings.combinedName}) {
    Check(text.find(*value) != std::string::npos);
    Check(value->empty() || (!blank(value->front()) && !blank(value->back())));
  }
  return 0;
}
