#include "app/command_line.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace {

constexpr char kQuote = '"';

std::string LowerAscii(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

// Position of the first word-start occurrence of `option` outside quotes, or npos. Every quote
// character toggles the quoted state, counted from the start of the text.
std::size_t FindOption(std::string_view lowered, std::string_view option) {
  bool quoted = false;
  for (std::size_t i = 0; i < lowered.size(); ++i) {
    const bool wordStart = i == 0 || IsWhiteSpace(lowered[i - 1]);
    if (!quoted && wordStart && lowered.substr(i).starts_with(option)) return i;
    if (lowered[i] == kQuote) quoted = !quoted;
  }
  return std::string_view::npos;
}

std::size_t SkipWhiteSpace(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsWhiteSpace(text[pos])) ++pos;
  return pos;
}

// The value after an option: the text inside double quotes, or up to the next space.
std::optional<std::string> ReadTextValue(std::string_view line, std::size_t pos) {
  pos = SkipWhiteSpace(line, pos);
  if (pos == line.size()) return std::nullopt;
  if (line[pos] == kQuote) {
    const std::size_t close = line.find(kQuote, pos + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return std::string(line.substr(pos + 1, close - pos - 1));
  }
  const std::size_t end = line.find(' ', pos);
  return std::string(line.substr(pos, end - pos));
}

// atol() with a 32-bit long: optional sign, decimal digits, saturating at the 32-bit range.
std::int32_t ReadLongValue(std::string_view line, std::size_t pos) {
  pos = SkipWhiteSpace(line, pos);
  bool negative = false;
  if (pos < line.size() && (line[pos] == '+' || line[pos] == '-')) negative = line[pos++] == '-';
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; pos < line.size() && line[pos] >= '0' && line[pos] <= '9'; ++pos) {
    magnitude = std::min(magnitude * 10 + (line[pos] - '0'), kLimit);
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::string TrimWhiteSpace(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsWhiteSpace(text[begin])) ++begin;
  while (end > begin && IsWhiteSpace(text[end - 1])) --end;
  return std::string(text.substr(begin, end - begin));
}

}  // namespace

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string BuildCommandTail(std::span<const char* const> arguments) {
  std::string tail;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view text(arguments[i]);
    if (i > 0) tail.push_back(' ');
    const bool quote = text.empty() || std::any_of(text.begin(), text.end(), IsWhiteSpace);
    if (quote) tail.push_back(kQuote);
    tail.append(text);
    if (quote) tail.push_back(kQuote);
  }
  return tail;
}

CommandLineOptions ParseCommandLine(std::string_view tail) {
  // The appended space ends an unquoted value at the end of the tail. Options are found in the
  // lower-case copy; values are taken from the original at the same positions.
  const std::string line = std::string(tail) + ' ';
  const std::string lowered = LowerAscii(line);
  constexpr std::size_t kNameLength = 2;

  CommandLineOptions options;
  const auto readText = [&](std::string_view option, std::string& value) {
    const std::size_t at = FindOption(lowered, option);
    if (at == std::string_view::npos) return;
    if (std::optional<std::string> text = ReadTextValue(line, at + kNameLength)) {
      value = std::move(*text);
    }
  };
  readText("-d", options.folder);
  readText("-f", options.timeFormat);
  readText("-c", options.combinedName);
  options.ntsc = FindOption(lowered, "-ntsc") != std::string_view::npos;
  if (const std::size_t at = FindOption(lowered, "-o"); at != std::string_view::npos) {
    options.minuteOffset = ReadLongValue(line, at + kNameLength);
  }
  return options;
}

CommandLineOptions TrimOptions(CommandLineOptions options) {
  options.folder = TrimWhiteSpace(options.folder);
  options.timeFormat = TrimWhiteSpace(options.timeFormat);
  options.combinedName = TrimWhiteSpace(options.combinedName);
  return options;
}
