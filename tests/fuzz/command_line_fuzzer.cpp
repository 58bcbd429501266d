#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/command_line.h"

// Input: a command-line tail. Every value comes out of the tail, trimmed.

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 4096));
  const CommandLineOptions options = TrimOptions(ParseCommandLine(text));
  for (const std::string* value : {&options.folder, &options.timeFormat, &options.combinedName}) {
    Check(text.find(*value) != std::string::npos);
    Check(value->empty() || (!IsWhiteSpace(value->front()) && !IsWhiteSpace(value->back())));
  }
  return 0;
}
