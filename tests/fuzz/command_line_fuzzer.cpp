#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "tests/fuzz/fuzz_input.h"

// Input: a mode byte, then text. Even modes parse the text as a command-line tail; odd modes
// give it as the argument after one option and check that it arrives as that option's value
// unchanged, as a shell would deliver it.

namespace {

bool Contains(const std::string& haystack, const std::string& needle) {
  return haystack.find(needle) != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::uint8_t mode = input.Byte();
  std::string text = input.Rest(4096);

  if (mode % 2 == 0) {
    const CommandLineOptions options = ParseCommandLine(text);
    Check(Contains(text, options.folder) && Contains(text, options.timeFormat) &&
          Contains(text, options.combinedName));
    const CommandLineOptions trimmed = TrimOptions(options);
    Check(Contains(options.folder, trimmed.folder));
    Check(trimmed.folder.empty() ||
          (!IsWhiteSpace(trimmed.folder.front()) && !IsWhiteSpace(trimmed.folder.back())));
    return 0;
  }

  std::erase(text, '\0');
  static constexpr const char* kOptions[] = {"-d", "-f", "-c"};
  const char* option = kOptions[(mode / 2) % 3];
  const std::vector<const char*> arguments = {"-ntsc", option, text.c_str(), "-o", "-7"};
  const CommandLineOptions options = ParseArguments(arguments);
  const std::string& value = option[1] == 'd'   ? options.folder
                             : option[1] == 'f' ? options.timeFormat
                                                : options.combinedName;
  Check(value == text);
  Check(options.ntsc);
  // A value that itself starts with "-o" comes first and wins.
  Check(options.minuteOffset == -7 || text.starts_with("-o") || text.starts_with("-O"));
  return 0;
}
