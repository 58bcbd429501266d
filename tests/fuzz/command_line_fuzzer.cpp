#include <cstdint>
#include <string>

#include "app/command_line.h"
#include "tests/fuzz/fuzz_input.h"

// Input: a command-line tail. Every value comes out of the tail, trimmed.

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = FuzzInput(data, size).Rest(4096);
  const CommandLineOptions options = TrimOptions(ParseCommandLine(text));
  for (const std::string* value : {&options.folder, &options.timeFormat, &options.combinedName}) {
    Check(text.find(*value) != std::string::npos);
    Check(value->empty() || (!IsWhiteSpace(value->front()) && !IsWhiteSpace(value->back())));
  }
  return 0;
}
